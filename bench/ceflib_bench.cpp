// The bridge's hot paths: wrappers crossing in, own objects crossing out, and strings.

#include <benchmark/benchmark.h>

#include "cef/ceflib/base_own.h"
#include "cef/ceflib/base_ref.h"
#include "cef/ceflib/loader.h"
#include "cef/ceflib/strings.h"

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

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  cef::CefLibFinalization();
  return 0;
}
