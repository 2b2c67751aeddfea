#pragma once
// Page loads: what a navigation asks for, how its answer arrives (fetched on a worker
// thread, read from disk, or given by the program) and how it becomes a frame's page on
// the thread that calls the work function.

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "dom.h"
#include "network.h"

namespace standin {

class Browser;
class Frame;

// What a navigation asks for. History entries keep it, so that going back or reloading
// asks for the same thing again.
struct LoadParams {
  enum class Origin {
    Address,  // fetched or read from its address
    Text,     // a string the program gave: always HTML
    Bytes,    // a stream the program gave: HTML in the charset it names, else UTF-8
  };
  Origin origin = Origin::Address;
  // What started a new navigation: the program or a script (other), a link, or a form.
  enum class Trigger { Other, Link, Form };
  Trigger trigger = Trigger::Other;
  std::u16string url;
  std::string method = "GET";
  net::HeaderList headers;
  std::vector<uint8_t> body;     // post data, for addresses
  std::u16string text;           // Origin::Text
  std::vector<uint8_t> content;  // Origin::Bytes
};

enum class NavigationKind {
  New,          // a new history entry after the current one
  BackForward,  // moves the history index to the entry loaded
  Reload,       // replaces the current entry
  SubFrame,     // a sub-frame's page: no history
};

// The answer to a load, written by whoever produced it before the load is marked done.
struct LoadResponse {
  bool failed = false;  // no answer at all: error_code and error_text say why
  int32_t error_code = 0;
  std::u16string error_text;
  int32_t status = 0;
  std::string status_text;
  std::string mime_type;  // lower case, without parameters
  std::string charset;
  net::HeaderList headers;
  std::vector<uint8_t> body;
  bool has_text = false;  // the program gave the page as text: body is unused
  std::u16string text;
  std::u16string final_url;  // after redirects
  std::u16string redirect_to;  // a redirect not yet followed: where it points, resolved
  bool attachment = false;
  std::u16string file_name;  // suggested by the server, for downloads
  // The connection broke during the body: `body` holds what arrived, error_code and
  // error_text say why.
  bool cut_short = false;
  // How long the exchange took on the network: a download is handed on no faster.
  int64_t network_ms = 0;
};

// Runtime error numbers reported for loads that got no answer.
enum LoadError : int32_t {
  kErrorFailed = -2,
  kErrorAborted = -3,
  kErrorFileNotFound = -6,
  kErrorTimedOut = -7,
  kErrorConnectionRefused = -102,
  kErrorNameNotResolved = -105,
  kErrorUnknownUrlScheme = -302,
  kErrorTooManyRedirects = -310,
};

// One load of one frame. The UI thread owns everything but `response`, which the worker
// writes before setting `done`; the UI thread reads it only after seeing `done`.
struct PageLoad {
  // Asking: the program is being asked about it, and a work call made meanwhile (from a
  // modal loop of the program's) leaves it alone.
  enum class State { Queued, Asking, Running, Committed };
  LoadParams params;
  NavigationKind kind = NavigationKind::New;
  int history_target = -1;  // NavigationKind::BackForward: the entry to move to
  State state = State::Queued;
  bool redirected = false;  // this request follows a server's redirect
  int hops = 0;             // redirects followed to get here
  int auth_attempts = 0;    // credentials the program gave for this navigation so far
  std::atomic<bool> cancelled{false};
  std::atomic<bool> done{false};
  LoadResponse response;
};

// A response that is not shown but offered for saving: what a download handler needs.
struct DownloadRecord {
  std::u16string url;
  std::string mime_type;
  std::u16string file_name;
  int64_t length = 0;  // as announced when the answer began
  std::vector<uint8_t> bytes;
  bool cut_short = false;  // the connection broke: bytes are fewer than the length
  int64_t network_ms = 0;  // how long the bytes took to arrive
};

// Starts a load of a frame, replacing (cancelling) the one it may have pending. It
// begins on the next work call.
void StartLoad(Frame& frame, LoadParams params, NavigationKind kind, int historyTarget = -1);
// Begins queued loads and commits finished ones of every frame of a browser.
void AdvanceLoads(Browser& browser);
// Cancels a frame's pending load; it never commits.
void CancelLoad(Frame& frame) noexcept;
// A load of the frame failed or was stopped: the program hears of it, and the frame shows
// the text the program may give instead.
void ReportLoadError(Browser& browser, Frame& frame, int32_t code, const std::u16string& text,
                     const std::u16string& url);
// The document of a frame that has shown nothing yet: an empty page.
std::shared_ptr<dom::DocumentState> BlankDocument();
// An address as the browser understands it: "about:blank", file://, http:// (a bare host
// gets http://).
std::u16string NormalizeAddress(std::u16string_view url);

// Worker threads of fetches. Finished ones are joined on each work call; shutdown joins
// them all, so no thread of the library runs once it is unloaded.
void RunOnWorker(std::shared_ptr<PageLoad> load);
void ReapWorkers();
void JoinWorkers() noexcept;
int RunningWorkers();

}  // namespace standin
