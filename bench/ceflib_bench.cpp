// The bridge's hot paths: wrappers crossing in, own objects crossing out, and strings.

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "cef/cefgui/custom_handlers.h"
#include "cef/ceflib/base_own.h"
#include "cef/ceflib/base_ref.h"
#include "cef/ceflib/browser.h"
#include "cef/ceflib/extension.h"
#include "cef/ceflib/loader.h"
#include "cef/ceflib/streams.h"
#include "cef/ceflib/strings.h"
#include "cef/ceflib/v8_handler.h"

// Every allocation of the process, the runtime stand-in's included: the executable's
// operator new is the one the whole process binds to. Allocations made while a fake
// runtime object works are counted once more on their own, to tell the runtime's share.
std::atomic<int64_t> g_allocations{0};
std::atomic<int64_t> g_runtime_allocations{0};
thread_local bool t_in_runtime = false;

void* operator new(std::size_t size) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (t_in_runtime) g_runtime_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
// GCC cannot see that the operator new above allocates with malloc.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace {

class Own : public cef::TCefBaseOwn {
 public:
  Own() : TCefBaseOwn(sizeof(TCefDownloadHandler)) {}
};

void BM_UnWrapAndRelease(benchmark::State& state) {
  cef::CefLoadLibDefault();
  TCefRequest* request = cef::CefApi().cef_request_create();
  TCefBase* header = &request->base;
  for (auto _ : state) {
    header->add_ref(header);  // the reference a crossing brings
    cef::Ref<cef::ICefBase> wrapper = cef::TCefBaseRef::UnWrap(header);
    benchmark::DoNotOptimize(wrapper.get());
  }
  header->release(header);
}
BENCHMARK(BM_UnWrapAndRelease);

void BM_WrapOwnAndRelease(benchmark::State& state) {
  cef::Ref<Own> own = base::MakeRef<Own>();
  for (auto _ : state) {
    TCefBase* wrapped = own->Wrap();
    benchmark::DoNotOptimize(wrapped);
    wrapped->release(wrapped);
  }
}
BENCHMARK(BM_WrapOwnAndRelease);

std::u16string Text(int64_t length) {
  std::u16string text;
  for (int64_t i = 0; i < length; ++i) text.push_back(static_cast<char16_t>(u'가' + i % 1000));
  return text;
}

void BM_StringView(benchmark::State& state) {
  std::u16string text = Text(state.range(0));
  for (auto _ : state) {
    TCefString view = cef::CefStringView(text);
    benchmark::DoNotOptimize(view);
  }
}
BENCHMARK(BM_StringView)->Arg(16)->Arg(4096);

void BM_StringOwnedCopy(benchmark::State& state) {
  cef::CefLoadLibDefault();
  std::u16string text = Text(state.range(0));
  for (auto _ : state) {
    TCefString copy = cef::CefStringOwnedCopy(text);
    benchmark::DoNotOptimize(copy.str);
    cef::CefApi().cef_string_clear(&copy);
  }
}
BENCHMARK(BM_StringOwnedCopy)->Arg(16)->Arg(4096);

// A program stream read by the runtime: every 64 KiB read crosses from the runtime's
// reader into the program's custom reader and its stream, under the reader's lock.
constexpr int64_t kStreamBytes = int64_t{64} << 20;
constexpr uint32_t kReadBytes = 64u << 10;

platform::TMemoryStream& SixtyFourMebibytes() {
  static platform::TMemoryStream stream;
  if (stream.Size() == 0) {
    std::vector<uint8_t> chunk(kReadBytes);
    for (size_t i = 0; i < chunk.size(); ++i) chunk[i] = static_cast<uint8_t>(i * 31);
    for (int64_t done = 0; done < kStreamBytes; done += kReadBytes) stream.Write(chunk.data(), kReadBytes);
  }
  return stream;
}

void BM_ReadProgramStreamThroughRuntime(benchmark::State& state) {
  cef::CefLoadLibDefault();
  platform::TMemoryStream& stream = SixtyFourMebibytes();
  std::vector<uint8_t> buffer(kReadBytes);
  for (auto _ : state) {
    stream.SetPosition(0);
    cef::Ref<cef::ICefStreamReader> reader = cef::TCefStreamReaderRef::CreateForStream(stream);
    int64_t total = 0;
    while (uint32_t n = reader->Read(buffer.data(), 1, kReadBytes)) total += n;
    if (total != kStreamBytes) state.SkipWithError("the reader stopped early");
    benchmark::DoNotOptimize(buffer.data());
  }
  state.SetBytesProcessed(state.iterations() * kStreamBytes);
}
BENCHMARK(BM_ReadProgramStreamThroughRuntime)->Unit(benchmark::kMillisecond);

// The same bytes copied straight from the stream's memory, for comparison.
void BM_MemcpySameBytes(benchmark::State& state) {
  const uint8_t* memory = SixtyFourMebibytes().Memory();
  std::vector<uint8_t> buffer(kReadBytes);
  for (auto _ : state) {
    for (int64_t done = 0; done < kStreamBytes; done += kReadBytes) {
      std::memcpy(buffer.data(), memory + done, kReadBytes);
      benchmark::ClobberMemory();
    }
    benchmark::DoNotOptimize(buffer.data());
  }
  state.SetBytesProcessed(state.iterations() * kStreamBytes);
}
BENCHMARK(BM_MemcpySameBytes)->Unit(benchmark::kMillisecond);

// A windowless stand-in browser showing a small page at url; closed again when it goes.
struct ShownPage {
  explicit ShownPage(const std::u16string& url) {
    TCefWindowInfo info{};
    TCefBrowserSettings settings{};
    settings.size = sizeof settings;
    browser = cef::CefBrowserCreateSync(&info, nullptr, u"", &settings);
    frame = browser ? browser->GetMainFrame() : nullptr;
    if (!frame) return;
    frame->LoadString(u"<title>page</title>", url);
    for (int i = 0; i < 100 && frame->GetUrl() != url; ++i) cef::CefDoMessageLoopWork();
  }
  ~ShownPage() {
    frame = nullptr;
    if (browser) browser->CloseBrowser();
  }
  cef::Ref<cef::ICefBrowser> browser;
  cef::Ref<cef::ICefFrame> frame;
};

// One GetUrl through the frame wrapper into the runtime and back: the runtime copies the
// address into a string it allocates, the wrapper reads it and frees it.
void BM_FrameGetUrl(benchmark::State& state) {
  const std::u16string url = u"http://service.example/bid/list?page=1";
  ShownPage page(url);
  cef::Ref<cef::ICefFrame>& frame = page.frame;
  if (!frame || frame->GetUrl() != url) {
    state.SkipWithError("the page did not load");
    return;
  }
  int64_t before = g_allocations.load();
  for (auto _ : state) {
    std::u16string got = frame->GetUrl();
    benchmark::DoNotOptimize(got.data());
  }
  state.counters["allocs/call"] =
      benchmark::Counter(static_cast<double>(g_allocations.load() - before) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_FrameGetUrl);

// One native call as the runtime makes it: the handler's execute member with the function
// name, a receiver and two string arguments; the handler reads both strings and answers a
// new string value. The values are fake runtime tables whose strings come from the
// stand-in's string functions, and the string creator is a fake that makes one such value,
// so that the figure measures the bridge and not a script engine.
struct RuntimeWork {
  RuntimeWork() { t_in_runtime = true; }
  ~RuntimeWork() { t_in_runtime = false; }
};

struct BenchValue {
  TCefv8Value wire{};
  std::atomic<int32_t> refs{1};
  std::u16string text;
  bool made;  // made by the creator: deleted when its count reaches zero

  BenchValue(std::u16string value, bool madeByCreator) : text(std::move(value)), made(madeByCreator) {
    wire.base.size = sizeof wire;
    wire.base.add_ref = [](TCefBase* self) CEF_CALLBACK -> int32_t { return ++Of(self)->refs; };
    wire.base.release = [](TCefBase* self) CEF_CALLBACK -> int32_t {
      BenchValue* value = Of(self);
      int32_t count = --value->refs;
      if (count == 0 && value->made) delete value;
      return count;
    };
    wire.base.get_refct = [](TCefBase* self) CEF_CALLBACK -> int32_t { return Of(self)->refs; };
    wire.is_string = [](TCefv8Value*) CEF_CALLBACK -> TCefBool { return 1; };
    wire.get_string_value = [](TCefv8Value* self) CEF_CALLBACK -> TCefStringUserFree {
      RuntimeWork work;
      const std::u16string& text = Of(self)->text;
      TCefStringUserFree result = cef::CefApi().cef_string_userfree_utf16_alloc();
      cef::CefApi().cef_string_utf16_set(text.data(), static_cast<uint32_t>(text.size()), result, 1);
      return result;
    };
  }
  static BenchValue* Of(const void* self) { return reinterpret_cast<BenchValue*>(const_cast<void*>(self)); }
  TCefv8Value* Hand() {
    ++refs;
    return &wire;
  }
};

TCefv8Value* CEF_EXPORT_CC BenchCreateString(const TCefString* value) {
  RuntimeWork work;
  return &(new BenchValue(std::u16string(value->str, value->length), true))->wire;
}

class GoG2bHandler : public cef::TCefv8HandlerOwn {
 public:
  bool Execute(const std::u16string& name, const cef::Ref<cef::ICefv8Value>&, const cef::TCefv8ValueArray& arguments,
               cef::Ref<cef::ICefv8Value>& retval, std::u16string&) override {
    if (name != u"GoG2b" || arguments.size() != 2 || !arguments[0] || !arguments[1]) return false;
    retval = cef::TCefv8ValueRef::CreateString(arguments[0]->GetStringValue() + u"/" + arguments[1]->GetStringValue());
    return true;
  }
};

// The runtime's side of one call: hands the arguments over with a reference each, then
// checks the answer and lets the result go.
bool CallGoG2b(TCefv8Handler* handler, BenchValue& receiver, BenchValue& first, BenchValue& second) {
  static const std::u16string kName = u"GoG2b";
  static const std::u16string kExpected = u"20240312345/00";
  TCefString name = cef::CefStringView(kName);
  TCefv8Value* arguments[] = {first.Hand(), second.Hand()};
  TCefv8Value* retval = nullptr;
  TCefString exception{};
  TCefBool handled = handler->execute(handler, &name, receiver.Hand(), 2, arguments, &retval, &exception);
  bool answered = handled == -1 && retval && BenchValue::Of(retval)->text == kExpected && !exception.str;
  if (retval) retval->base.release(&retval->base);
  return answered;
}

void BM_NativeCallTwoStringsToString(benchmark::State& state) {
  cef::CefLoadLibDefault();
  auto& create = const_cast<cef::CefExports&>(cef::CefApi()).cef_v8value_create_string;
  auto saved = std::exchange(create, &BenchCreateString);
  BenchValue receiver(u"", false), first(u"20240312345", false), second(u"00", false);
  cef::Ref<GoG2bHandler> handler = base::MakeRef<GoG2bHandler>();
  auto* wire = handler->Struct<TCefv8Handler>();
  if (!CallGoG2b(wire, receiver, first, second)) state.SkipWithError("the call went wrong");
  int64_t before = g_allocations.load();
  int64_t runtimeBefore = g_runtime_allocations.load();
  for (auto _ : state) {
    bool answered = CallGoG2b(wire, receiver, first, second);
    benchmark::DoNotOptimize(answered);
  }
  auto perCall = [&](int64_t count) {
    return benchmark::Counter(static_cast<double>(count) / static_cast<double>(state.iterations()));
  };
  state.counters["allocs/call"] = perCall(g_allocations.load() - before);
  state.counters["runtime allocs/call"] = perCall(g_runtime_allocations.load() - runtimeBefore);
  if (receiver.refs != 1 || first.refs != 1 || second.refs != 1) state.SkipWithError("a reference leaked");
  create = saved;
}
BENCHMARK(BM_NativeCallTwoStringsToString);

// The same call made by a page's script in the stand-in's script engine: a loop of 100 000
// calls of a native function of a registered extension, timed per call.
class JoinHandler : public cef::TCefv8HandlerOwn {
 public:
  int64_t calls = 0;
  bool Execute(const std::u16string& name, const cef::Ref<cef::ICefv8Value>&, const cef::TCefv8ValueArray& arguments,
               cef::Ref<cef::ICefv8Value>& retval, std::u16string&) override {
    if (name != u"Join" || arguments.size() != 2) return false;
    ++calls;
    retval = cef::TCefv8ValueRef::CreateString(arguments[0]->GetStringValue() + u"/" + arguments[1]->GetStringValue());
    return true;
  }
};

void BM_PageScriptCallsNativeFunction(benchmark::State& state) {
  constexpr int kCalls = 100000;
  static cef::Ref<JoinHandler> handler = [] {
    auto made = base::MakeRef<JoinHandler>();
    cef::CefRegisterExtension(u"v8/bench",
                              u"var bench = {}; (function() { bench.join = function(a, b) {"
                              u" native function Join(); return Join(a, b); }; })();",
                              made);
    return made;
  }();
  const std::u16string url = u"http://bench.example/";
  ShownPage page(url);
  cef::Ref<cef::ICefFrame>& frame = page.frame;
  if (!frame || frame->GetUrl() != url) {
    state.SkipWithError("the page did not load");
    return;
  }
  const std::u16string loop = u"var s; for (var i = 0; i < " + std::u16string(u"100000") +
                              u"; ++i) s = bench.join('20240312345', '00');";
  int64_t before = handler->calls;
  for (auto _ : state) frame->ExecuteJavaScript(loop, url, 1);
  if (handler->calls - before != kCalls * state.iterations()) state.SkipWithError("the script did not call the handler");
  state.counters["per call"] = benchmark::Counter(kCalls, benchmark::Counter::kIsIterationInvariantRate |
                                                               benchmark::Counter::kInvert);
}
BENCHMARK(BM_PageScriptCallsNativeFunction)->Unit(benchmark::kMillisecond);

// One runtime callback through a control-side handler to the control and back. The control
// has no events assigned: every operation answers false at once; the two measured ones count.
class SilentControl final : public base::RefCounted, public cef::IChromiumEvents {
  using B = const cef::Ref<cef::ICefBrowser>&;
  using F = const cef::Ref<cef::ICefFrame>&;
  using T = const std::u16string&;
  using O = std::u16string&;
  template <class I>
  using R = cef::Ref<I>;

 public:
  int64_t titles = 0;
  int64_t loadEnds = 0;

  bool doOnTitleChange(B, T) override {
    ++titles;
    return false;
  }
  bool doOnLoadEnd(B, F, int32_t) override {
    ++loadEnds;
    return false;
  }

  void GetSettings(TCefBrowserSettings&) override {}
  bool doOnBeforePopup(B, TCefPopupFeatures&, TCefWindowInfo&, O, R<cef::ICefBase>&) override { return false; }
  void doOnAfterCreated(B) override {}
  bool doOnBeforeClose(B) override { return false; }
  bool doOnClose(B) override { return false; }
  bool doOnRunModal(B) override { return false; }
  void doOnLoadStart(B, F) override {}
  bool doOnLoadError(B, F, int32_t, T, O) override { return false; }
  bool doOnAuthCredentials(B, bool, int32_t, T, T, T, O, O) override { return false; }
  bool doOnGetDownloadHandler(B, T, T, int64_t, R<cef::ICefDownloadHandler>&) override { return false; }
  bool doOnBeforeBrowse(B, F, const R<cef::ICefRequest>&, TCefHandlerNavtype, bool) override { return false; }
  bool doOnBeforeResourceLoad(B, const R<cef::ICefRequest>&, O, R<cef::ICefStreamReader>&,
                              const R<cef::ICefResponse>&, int32_t) override {
    return false;
  }
  bool doOnProtocolExecution(B, T, bool&) override { return false; }
  void doOnResourceResponse(B, T, const R<cef::ICefResponse>&, R<cef::ICefBase>&) override {}
  bool doOnAddressChange(B, F, T) override { return false; }
  bool doOnConsoleMessage(B, T, T, int32_t) override { return false; }
  bool doOnNavStateChange(B, bool, bool) override { return false; }
  bool doOnStatusMessage(B, T, TCefHandlerStatusType) override { return false; }
  bool doOnTooltip(B, O) override { return false; }
  void doOnTakeFocus(B, bool) override {}
  bool doOnSetFocus(B, TCefHandlerFocusSource) override { return false; }
  bool doOnKeyEvent(B, TCefHandlerKeyEventType, int32_t, int32_t, bool) override { return false; }
  bool doOnBeforeMenu(B, const TCefHandlerMenuInfo*) override { return false; }
  bool doOnGetMenuLabel(B, TCefHandlerMenuId, O) override { return false; }
  bool doOnMenuAction(B, TCefHandlerMenuId) override { return false; }
  bool doOnPrintHeaderFooter(B, F, const TCefPrintInfo*, T, T, int32_t, int32_t, O, O, O, O, O, O) override {
    return false;
  }
  bool doOnPrintOptions(B, TCefPrintOptions*) override { return false; }
  bool doOnJsAlert(B, F, T) override { return false; }
  bool doOnJsConfirm(B, F, T, bool&) override { return false; }
  bool doOnJsPrompt(B, F, T, T, bool&, O) override { return false; }
  bool doOnJsBinding(B, F, const R<cef::ICefv8Value>&) override { return false; }
  bool doOnFindResult(B, int32_t, const TCefRect*, bool, bool, bool) override { return false; }
  bool doOnGetViewRect(B, TCefRect*) override { return false; }
  bool doOnGetScreenRect(B, TCefRect*) override { return false; }
  bool doOnGetScreenPoint(B, int32_t, int32_t, int32_t*, int32_t*) override { return false; }
  void doOnPopupShow(B, bool) override {}
  void doOnPopupSize(B, const TCefRect*) override {}
  void doOnPaint(B, int32_t, const TCefRect*, const void*) override {}
  void doOnCursorChange(B, TCefCursorHandle) override {}
  bool doOnDragStart(B, const R<cef::ICefDragData>&, int32_t) override { return false; }
  bool doOnDragEnter(B, const R<cef::ICefDragData>&, int32_t) override { return false; }
};

// A handler structure as the runtime holds it, over a handler linked to the control.
template <class Handler>
auto* RuntimeHandler(SilentControl& control, cef::Ref<Handler>& keep) {
  keep = base::MakeRef<Handler>(control);
  return static_cast<typename Handler::Wire*>(keep->Struct());
}

// A runtime object's structure for the calls, and one more reference for each crossing.
template <class S, class I>
S* Structure(const cef::Ref<I>& object) {
  auto* wire = reinterpret_cast<S*>(object->Wrap());
  wire->base.release(&wire->base);
  return wire;
}
template <class S>
S* Crossing(S* object) {
  object->base.add_ref(&object->base);
  return object;
}

// The runtime reports a new title: the browser and the title cross in, the control answers.
void BM_TitleChangeRoundTrip(benchmark::State& state) {
  ShownPage page(u"http://bench.example/title");
  if (!page.browser) return state.SkipWithError("no browser");
  auto control = base::MakeRef<SilentControl>();
  cef::Ref<cef::TCustomDisplayHandler> handler;
  TCefDisplayHandler* display = RuntimeHandler(*control, handler);
  TCefBrowser* browser = Structure<TCefBrowser>(page.browser);
  static const std::u16string kTitle = u"QVN 분석프로그램 - 입찰 공고 목록";
  TCefString title = cef::CefStringView(kTitle);
  int64_t before = g_allocations.load();
  for (auto _ : state) display->on_title_change(display, Crossing(browser), &title);
  state.counters["allocs/call"] =
      benchmark::Counter(static_cast<double>(g_allocations.load() - before) / static_cast<double>(state.iterations()));
  if (control->titles != static_cast<int64_t>(state.iterations())) state.SkipWithError("the control was not reached");
}
BENCHMARK(BM_TitleChangeRoundTrip);

// The runtime reports a finished load: the browser, the frame and the status cross in.
void BM_LoadEndRoundTrip(benchmark::State& state) {
  ShownPage page(u"http://bench.example/load");
  if (!page.frame) return state.SkipWithError("no frame");
  auto control = base::MakeRef<SilentControl>();
  cef::Ref<cef::TCustomLoadHandler> handler;
  TCefLoadHandler* load = RuntimeHandler(*control, handler);
  TCefBrowser* browser = Structure<TCefBrowser>(page.browser);
  TCefFrame* frame = Structure<TCefFrame>(page.frame);
  int64_t before = g_allocations.load();
  for (auto _ : state) load->on_load_end(load, Crossing(browser), Crossing(frame), 200);
  state.counters["allocs/call"] =
      benchmark::Counter(static_cast<double>(g_allocations.load() - before) / static_cast<double>(state.iterations()));
  if (control->loadEnds != static_cast<int64_t>(state.iterations())) state.SkipWithError("the control was not reached");
}
BENCHMARK(BM_LoadEndRoundTrip);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  cef::CefLibFinalization();
  return 0;
}
