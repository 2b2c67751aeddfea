// A load's way through the UI thread: queued by the program's call, begun on the next work
// call (the network's part on a worker), and committed on a later one, where the answer
// becomes the frame's page, or a download, or a load error.

#include <utility>

#include "browser_events.h"
#include "browsers.h"
#include "html.h"
#include "page_fetch.h"

namespace standin {
namespace {

bool IsHtml(const std::string& mime) { return mime == "text/html" || mime == "application/xhtml+xml"; }

bool IsImage(const std::string& mime) { return mime.rfind("image/", 0) == 0; }

// What a browser shows itself; anything else is offered for saving.
bool Displayable(const LoadResponse& r) {
  const std::string& mime = r.mime_type;
  if (r.has_text || mime.empty() || IsHtml(mime) || IsImage(mime) || mime.rfind("text/", 0) == 0) return true;
  return mime == "application/json" || mime == "application/javascript" || mime == "application/xml";
}

bool LooksLikeHtml(std::u16string_view source) {
  size_t first = source.find_first_not_of(u" \t\r\n\xFEFF");
  return first != std::u16string_view::npos && source[first] == u'<';
}

// Plain text shown as it is: one text node in the body.
std::unique_ptr<html::Node> TextDocument(const std::u16string& text) {
  std::unique_ptr<html::Node> root = html::Parse(u"");
  if (html::Node* body = html::Body(*root); body && !text.empty()) {
    auto node = std::make_unique<html::Node>();
    node->type = html::NodeType::Text;
    node->name = u"#text";
    node->value = text;
    body->Append(std::move(node));
  }
  return root;
}

Page BuildPage(const LoadResponse& r) {
  Page page;
  page.url = r.final_url;
  page.status = r.status;
  page.source = r.has_text ? r.text : html::DecodeText(r.body, r.charset);
  auto state = std::make_shared<dom::DocumentState>();
  state->url = page.url;
  if (r.has_text || IsHtml(r.mime_type) || (r.mime_type.empty() && LooksLikeHtml(page.source))) {
    state->root = html::Parse(page.source);
    page.title = html::Title(*state->root);
    page.text = html::InnerText(*state->root);
  } else if (IsImage(r.mime_type)) {
    state->root = html::Parse(u"");
  } else {
    state->root = TextDocument(page.source);
    page.text = page.source;
  }
  page.document = std::move(state);
  return page;
}

DownloadRecord MakeDownload(LoadResponse& r) {
  DownloadRecord d;
  d.url = r.final_url;
  d.mime_type = r.mime_type;
  d.file_name = r.file_name;
  d.length = static_cast<int64_t>(r.body.size());
  d.bytes = std::move(r.body);
  return d;
}

// The named <iframe>s of the main frame's page become its sub-frames, each loading its src
// resolved against the page's address.
void LoadSubFrames(Browser& browser, Frame& main) {
  std::vector<ObjRef<Frame>> frames;
  std::vector<std::u16string> addresses;
  const html::Node& root = *main.page.document->root;
  for (html::Node* element : html::ElementsByTag(root, u"iframe")) {
    const std::u16string* name = element->Attribute(u"name");
    if (!name || name->empty()) continue;
    const std::u16string* src = element->Attribute(u"src");
    std::u16string address = u"about:blank";
    if (src && !src->empty()) address = FromUtf8(net::ResolveUrl(ToUtf8(main.page.url), ToUtf8(*src)));
    bool taken = false;
    for (const ObjRef<Frame>& f : frames) taken = taken || f->name() == *name;
    if (taken) continue;
    frames.push_back(ObjRef<Frame>::Adopt(Create<Frame>(browser, *name, false)));
    addresses.push_back(NormalizeAddress(address));
  }
  browser.ReplaceSubFrames(frames);
  for (size_t i = 0; i < frames.size(); ++i) {
    LoadParams params;
    params.url = addresses[i];
    StartLoad(*frames[i].get(), std::move(params), NavigationKind::SubFrame);
  }
}

bool Gone(Browser& browser, Frame& frame) { return browser.closed() || frame.browser() != &browser; }

void CommitPage(Browser& browser, Frame& frame, PageLoad& load) {
  events::LoadStarted(browser, frame);
  if (Gone(browser, frame)) return;
  if (frame.is_main()) browser.ReplaceSubFrames({});
  frame.Show(BuildPage(load.response));
  frame.failure = {};
  ++browser.counters.loads_committed;
  if (frame.is_main()) {
    browser.history.Commit(load.kind, load.params, frame.page.url, load.history_target);
    LoadSubFrames(browser, frame);
    events::NavigationStateChanged(browser);
  }
  browser.Repaint();
  events::AddressChanged(browser, frame);
  if (!Gone(browser, frame) && frame.is_main()) events::TitleChanged(browser, frame);
  if (!Gone(browser, frame)) events::RunPageScripts(browser, frame);
  if (!Gone(browser, frame)) events::LoadEnded(browser, frame, frame.page.status);
}

void Commit(Browser& browser, Frame& frame, PageLoad& load) {
  LoadResponse& r = load.response;
  if (r.failed) {
    frame.failure = {r.error_code, r.error_text, load.params.url};
    events::LoadFailed(browser, frame, r.error_code, r.error_text, load.params.url);
  } else if (r.attachment || !Displayable(r)) {
    // The page stays as it was: the response is offered for saving instead.
    browser.downloads.push_back(MakeDownload(r));
    events::DownloadOffered(browser, browser.downloads.back());
  } else {
    CommitPage(browser, frame, load);
  }
}

void Begin(Browser& browser, Frame& frame, const std::shared_ptr<PageLoad>& load) {
  if (!events::BeforeBrowse(browser, frame, *load)) {
    if (frame.pending == load) frame.pending.reset();
    return;
  }
  load->state = PageLoad::State::Running;
  if (NeedsNetwork(load->params))
    RunOnWorker(load);
  else
    ProduceLocally(*load);
}

void Advance(Browser& browser, Frame& frame) {
  std::shared_ptr<PageLoad> load = frame.pending;
  if (load && load->state == PageLoad::State::Queued) Begin(browser, frame, load);
  if (Gone(browser, frame) || !load || frame.pending != load) return;
  if (load->state != PageLoad::State::Running || !load->done.load(std::memory_order_acquire)) return;
  frame.pending.reset();
  load->state = PageLoad::State::Committed;
  Commit(browser, frame, *load);
}

}  // namespace

std::shared_ptr<dom::DocumentState> BlankDocument() {
  auto state = std::make_shared<dom::DocumentState>();
  state->root = html::Parse(u"");
  return state;
}

void StartLoad(Frame& frame, LoadParams params, NavigationKind kind, int historyTarget) {
  Browser* browser = frame.browser();
  if (!browser || browser->closed()) return;
  CancelLoad(frame);
  auto load = std::make_shared<PageLoad>();
  load->params = std::move(params);
  load->kind = kind;
  load->history_target = historyTarget;
  frame.pending = std::move(load);
  ++browser->counters.loads_started;
}

void CancelLoad(Frame& frame) noexcept {
  if (std::shared_ptr<PageLoad> load = std::exchange(frame.pending, nullptr))
    load->cancelled.store(true, std::memory_order_relaxed);
}

void AdvanceLoads(Browser& browser) {
  for (ObjRef<Frame>& frame : browser.Frames()) {
    if (browser.closed()) return;
    if (frame->browser() == &browser) Advance(browser, *frame.get());
  }
}

}  // namespace standin
