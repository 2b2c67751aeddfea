// A load's way through the UI thread: queued by the program's call, begun on the next work
// call (the program is asked before browsing and before the fetch; the network's part runs
// on a worker), and finished on a later one, where a redirect is followed, a challenge
// answered, and the answer becomes the frame's page, or a download, or a load error.

#include <algorithm>
#include <string_view>
#include <utility>

#include "browser_events.h"
#include "browsers.h"
#include "html.h"
#include "page_fetch.h"
#include "page_requests.h"

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

// The announced length of a body, or -1 when none is given.
int64_t AnnouncedLength(const LoadResponse& r) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  constexpr std::string_view kName = "content-length";
  for (const auto& [name, value] : r.headers) {
    if (name.size() != kName.size() || !std::equal(name.begin(), name.end(), kName.begin(),
                                                   [&](char a, char b) { return lower(a) == b; }))
      continue;
    if (value.empty() || value.size() > 18 || value.find_first_not_of("0123456789") != std::string::npos) return -1;
    return std::stoll(value);
  }
  return -1;
}

// A runtime asks for the handler as soon as the answer begins, when the announced length
// is all it knows; for a whole body that is the body's size anyway.
DownloadRecord MakeDownload(LoadResponse& r) {
  DownloadRecord d;
  d.url = r.final_url;
  d.mime_type = r.mime_type;
  d.file_name = r.file_name;
  int64_t announced = AnnouncedLength(r);
  d.length = r.cut_short && announced >= 0 ? announced : static_cast<int64_t>(r.body.size());
  d.bytes = std::move(r.body);
  d.cut_short = r.cut_short;
  d.network_ms = r.network_ms;
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

// True when the load is no longer the frame's: the browser closed, the frame left it, or
// the program started another navigation during a callback.
bool Superseded(Browser& browser, Frame& frame, const std::shared_ptr<PageLoad>& load) {
  return Gone(browser, frame) || frame.pending != load;
}

// The new page replaces the frame's as it starts loading: load start finds it in place.
void CommitPage(Browser& browser, Frame& frame, PageLoad& load) {
  if (frame.is_main()) browser.ReplaceSubFrames({});
  frame.Show(BuildPage(load.response));
  frame.failure = {};
  ++browser.counters.loads_committed;
  if (frame.is_main()) {
    browser.history.Commit(load.kind, load.params, frame.page.url, load.history_target);
    LoadSubFrames(browser, frame);
  }
  browser.Repaint();
  events::LoadStarted(browser, frame);
  if (Gone(browser, frame)) return;
  events::AddressChanged(browser, frame);
  if (!Gone(browser, frame) && frame.is_main()) events::TitleChanged(browser, frame);
  if (!Gone(browser, frame)) events::RunPageScripts(browser, frame);
  if (!Gone(browser, frame)) events::LoadEnded(browser, frame, frame.page.status);
  if (!Gone(browser, frame) && frame.is_main()) events::NavigationStateChanged(browser);
}

void Commit(Browser& browser, Frame& frame, PageLoad& load) {
  LoadResponse& r = load.response;
  bool download = r.attachment || !Displayable(r);
  // Half a page is not shown: a broken connection fails it like one that never answered.
  if (r.failed || (r.cut_short && !download)) {
    frame.failure = {r.error_code, r.error_text, load.params.url};
    ReportLoadError(browser, frame, r.error_code, r.error_text, load.params.url);
    return;
  }
  if (load.params.origin == LoadParams::Origin::Address) {
    events::ResourceResponse(browser, r.final_url, r);
    if (Gone(browser, frame) || frame.pending) return;
  }
  if (download) {
    // The page stays as it was: the response is offered for saving instead.
    browser.downloads.push_back(MakeDownload(r));
    events::DownloadOffered(browser, browser.downloads.back());
  } else {
    CommitPage(browser, frame, load);
  }
}

void Fail(PageLoad& load, int32_t code, std::u16string text) {
  load.response.failed = true;
  load.response.error_code = code;
  load.response.error_text = std::move(text);
  load.done.store(true, std::memory_order_release);
}

// Asks the program about a scheme the browser does not load; true when the load ends here.
bool HandledElsewhere(Browser& browser, Frame& frame, const std::shared_ptr<PageLoad>& load) {
  events::ProtocolAnswer answer = events::ProtocolExecution(browser, load->params.url);
  if (Superseded(browser, frame, load)) return true;
  if (answer == events::ProtocolAnswer::Refused) return false;
  if (answer == events::ProtocolAnswer::OsExecution) ++browser.counters.os_executions;
  frame.pending.reset();
  return true;
}

// The request goes out, after the program has had its say about it.
void Fetch(Browser& browser, Frame& frame, const std::shared_ptr<PageLoad>& load) {
  load->state = PageLoad::State::Asking;
  events::ResourceAnswer answer = events::BeforeResourceLoad(browser, *load);
  if (Superseded(browser, frame, load)) return;
  load->state = PageLoad::State::Running;
  if (answer.cancelled) {
    Fail(*load, kErrorAborted, u"The request was cancelled.");
  } else if (answer.supplied) {
    load->response = std::move(answer.response);
    load->done.store(true, std::memory_order_release);
  } else if (KnownScheme(load->params) || !HandledElsewhere(browser, frame, load)) {
    if (NeedsNetwork(load->params))
      RunOnWorker(load);
    else
      ProduceLocally(*load);
  }
}

void Begin(Browser& browser, Frame& frame, const std::shared_ptr<PageLoad>& load) {
  load->state = PageLoad::State::Asking;
  if (!events::BeforeBrowse(browser, frame, *load)) {
    if (frame.pending == load) frame.pending.reset();
    return;
  }
  if (!Superseded(browser, frame, load)) Fetch(browser, frame, load);
}

// The same navigation, asking again: a redirect's next hop or a retry with credentials.
std::shared_ptr<PageLoad> Continuation(const PageLoad& load) {
  auto next = std::make_shared<PageLoad>();
  next->params = load.params;
  next->kind = load.kind;
  next->history_target = load.history_target;
  next->redirected = load.redirected;
  next->hops = load.hops;
  next->auth_attempts = load.auth_attempts;
  return next;
}

void FollowRedirect(Browser& browser, Frame& frame, const PageLoad& load) {
  if (load.hops >= kMaxRedirects) {
    frame.failure = {kErrorTooManyRedirects, u"too many redirects", load.params.url};
    ReportLoadError(browser, frame, kErrorTooManyRedirects, u"too many redirects", load.params.url);
    return;
  }
  std::shared_ptr<PageLoad> next = Continuation(load);
  RedirectParams(next->params, load.response.status, load.response.redirect_to);
  next->redirected = true;
  ++next->hops;
  frame.pending = next;
  Begin(browser, frame, next);
}

// A 401 with a Basic challenge: the program may give credentials, and the request goes
// again with them. True when the response is not to be shown.
bool Authenticate(Browser& browser, Frame& frame, const PageLoad& load) {
  events::AuthChallenge challenge;
  if (load.auth_attempts >= kMaxAuthAttempts || !BasicChallenge(load.response, load.params.url, challenge))
    return false;
  std::u16string user, password;
  bool answered = events::AuthCredentials(browser, challenge, user, password);
  if (Gone(browser, frame) || frame.pending) return true;
  if (!answered) return false;
  std::shared_ptr<PageLoad> next = Continuation(load);
  ++next->auth_attempts;
  SetAuthorization(next->params.headers, user, password);
  frame.pending = next;
  Fetch(browser, frame, next);
  return true;
}

// A response arrived: a redirect is followed, a challenge answered, anything else shown.
void Arrive(Browser& browser, Frame& frame, const std::shared_ptr<PageLoad>& load) {
  const LoadResponse& r = load->response;
  if (!r.failed && !r.redirect_to.empty())
    FollowRedirect(browser, frame, *load);
  else if (r.failed || !Authenticate(browser, frame, *load))
    Commit(browser, frame, *load);
}

void Advance(Browser& browser, Frame& frame) {
  std::shared_ptr<PageLoad> load = frame.pending;
  if (load && load->state == PageLoad::State::Queued) Begin(browser, frame, load);
  if (!load || Superseded(browser, frame, load)) return;
  if (load->state != PageLoad::State::Running || !load->done.load(std::memory_order_acquire)) return;
  frame.pending.reset();
  load->state = PageLoad::State::Committed;
  Arrive(browser, frame, load);
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

void ReportLoadError(Browser& browser, Frame& frame, int32_t code, const std::u16string& text,
                     const std::u16string& url) {
  std::u16string page;
  if (!events::LoadFailed(browser, frame, code, text, url, page) || Gone(browser, frame) || frame.pending) return;
  // The program's text is shown in place of the page that could not be loaded.
  LoadResponse shown;
  shown.has_text = true;
  shown.text = page;
  shown.final_url = url;
  frame.Show(BuildPage(shown));
  browser.Repaint();
}

void AdvanceLoads(Browser& browser) {
  for (ObjRef<Frame>& frame : browser.Frames()) {
    if (browser.closed()) return;
    if (frame->browser() == &browser) Advance(browser, *frame.get());
  }
}

}  // namespace standin
