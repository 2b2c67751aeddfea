// What reaches the program on the work calls after the moment itself: the bytes of a
// download, chunk by chunk, and the results of a find.

#include <algorithm>
#include <iterator>
#include <utility>

#include "browser_events.h"
#include "browsers.h"
#include "client_calls.h"

namespace standin::events {
namespace {

using calls::Raise;

// The most a download handler receives at once.
constexpr size_t kChunkSize = 64 * 1024;

// Sends one chunk of the download, or its end: false once it is over, finished or refused
// (a handler that takes nothing, answering zero or less, ends it, without complete).
// A download whose connection broke ends like any other once the bytes that arrived are
// sent: the runtime's request is over either way, and the handler hears complete. The
// interface has no word for a failure; only the length announced when the handler was
// asked for tells the program that bytes are missing.
bool DeliverChunk(Delivery& delivery) {
  calls::CheckThread("download handler");
  auto* handler = delivery.handler.as<TCefDownloadHandler>();
  if (delivery.sent >= delivery.bytes.size()) {
    if (calls::HasMember(handler, &TCefDownloadHandler::complete)) handler->complete(handler);
    return false;
  }
  if (!calls::HasMember(handler, &TCefDownloadHandler::received_data)) return false;
  size_t size = std::min(kChunkSize, delivery.bytes.size() - delivery.sent);
  if (delivery.spread_ms > 0) {
    // Not before the network would have brought the chunk's last byte.
    auto due = delivery.start + std::chrono::milliseconds(delivery.spread_ms * static_cast<int64_t>(delivery.sent + size) /
                                                          static_cast<int64_t>(delivery.bytes.size()));
    if (std::chrono::steady_clock::now() < due) return true;
  }
  int32_t taken = handler->received_data(handler, delivery.bytes.data() + delivery.sent, static_cast<int32_t>(size));
  delivery.sent += size;
  return taken > 0;
}

void DeliverDownloads(Browser& browser) {
  // Taken out while the program runs: a work call it makes meanwhile must not send the
  // same download's next chunk ahead of this one.
  std::vector<Delivery> underWay = std::exchange(browser.deliveries, {});
  std::vector<Delivery> going;
  for (Delivery& delivery : underWay)
    if (!browser.closed() && DeliverChunk(delivery)) going.push_back(std::move(delivery));
  // Finished and refused downloads release their handlers here.
  underWay.clear();
  if (browser.closed()) return;
  browser.deliveries.insert(browser.deliveries.begin(), std::make_move_iterator(going.begin()),
                            std::make_move_iterator(going.end()));
}

void ReportFinds(Browser& browser) {
  std::vector<FindResult> results = std::exchange(browser.find_results, {});
  for (const FindResult& result : results) {
    if (browser.closed()) return;
    // The stand-in lays nothing out: the selection has no place on the screen.
    TCefRect selection{};
    TCefBool identifier = result.identifier, active = result.count > 0 ? 1 : 0, last = 1;
    Raise<&TCefFindHandler::on_find_result>(browser, identifier, result.count, &selection, active, last);
  }
}

}  // namespace

void DownloadOffered(Browser& browser, DownloadRecord download) {
  std::u16string mime = FromUtf8(download.mime_type);
  TCefString mimeType = calls::View(mime), fileName = calls::View(download.file_name);
  TCefDownloadHandler* slot = nullptr;
  auto outcome = calls::Raise<&TCefRequestHandler::get_download_handler>(browser, &mimeType, &fileName,
                                                                         download.length, &slot);
  Held handler(slot, "download handler");
  if (!outcome.answer || !handler || browser.closed()) return;
  Delivery delivery{std::move(handler), std::move(download.bytes), 0};
  delivery.spread_ms = download.network_ms;
  browser.deliveries.push_back(std::move(delivery));
}

void FindCounted(Browser& browser, int32_t identifier, int32_t count) {
  browser.find_results.push_back({identifier, count});
}

void DeliverPending(Browser& browser) {
  DeliverDownloads(browser);
  ReportFinds(browser);
}

}  // namespace standin::events
