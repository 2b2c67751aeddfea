// The bridge's hot paths: wrappers crossing in, own objects crossing out, and strings.

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "cef/ceflib/base_own.h"
#include "cef/ceflib/base_ref.h"
#include "cef/ceflib/browser.h"
#include "cef/ceflib/loader.h"
#include "cef/ceflib/streams.h"
#include "cef/ceflib/strings.h"

// Every allocation of the process, the runtime stand-in's included: the executable's
// operator new is the one the whole process binds to.
std::atomic<int64_t> g_allocations{0};

void* operator new(std::size_t size) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

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
    cef::Ref<cef::ICefBase> wrapper = cef::TCefBaseRef::UnWrap(request);
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

// One GetUrl through the frame wrapper into the runtime and back: the runtime copies the
// address into a string it allocates, the wrapper reads it and frees it.
void BM_FrameGetUrl(benchmark::State& state) {
  TCefWindowInfo info{};
  TCefBrowserSettings settings{};
  settings.size = sizeof settings;
  cef::Ref<cef::ICefBrowser> browser = cef::CefBrowserCreateSync(&info, nullptr, u"", &settings);
  cef::Ref<cef::ICefFrame> frame = browser ? browser->GetMainFrame() : nullptr;
  if (!frame) {
    state.SkipWithError("no browser");
    return;
  }
  const std::u16string url = u"http://service.example/bid/list?page=1";
  frame->LoadString(u"<title>t</title>", url);
  for (int i = 0; i < 100 && frame->GetUrl() != url; ++i) cef::CefDoMessageLoopWork();
  if (frame->GetUrl() != url) state.SkipWithError("the page did not load");
  int64_t before = g_allocations.load();
  for (auto _ : state) {
    std::u16string got = frame->GetUrl();
    benchmark::DoNotOptimize(got.data());
  }
  state.counters["allocs/call"] =
      benchmark::Counter(static_cast<double>(g_allocations.load() - before) / static_cast<double>(state.iterations()));
  frame = nullptr;
  browser->CloseBrowser();
}
BENCHMARK(BM_FrameGetUrl);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  cef::CefLibFinalization();
  return 0;
}
