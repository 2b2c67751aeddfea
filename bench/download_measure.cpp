// Measures the download path under Wine: 64 MiB pushed in 64 KiB chunks through a
// TCefStreamDownloadHandler's structure, as the runtime pushes them, reporting its progress
// to a download strip in a shown window as the program's does (the strip repainting and the
// taskbar following), against plain WriteFile of the same chunks to a file in the same
// folder. Both ways turn the message loop after each chunk, as the program's pump does.
//   download_measure [folder]

#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/stream.h"
#include "shell/download_handler.h"
#include "shell/download_strip.h"
#include "ui/form.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kChunk = 64 * 1024;
constexpr int kChunks = 1024;  // 64 MiB

// A window with the program's download strip along its bottom.
class StripWindow : public ui::TForm {
 public:
  StripWindow() : TForm(nullptr) {
    SetBounds(0, 0, 1058, 745);
    Show();
    strip = CreateOwned<shell::TDownloadStrip>();
    strip->SetAlign(ui::Align::Bottom);
    strip->SetParent(this);
  }
  std::u16string ClassName() const override { return u"TStripWindow"; }

  shell::TDownloadStrip* strip;
};

void TurnLoop() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

double ThroughHandler(const std::wstring& path, std::vector<char>& chunk, StripWindow& window) {
  const std::u16string name(reinterpret_cast<const char16_t*>(path.c_str()));
  const int64_t total = int64_t{kChunks} * kChunk;
  auto t0 = Clock::now();
  int id = window.strip->Add(name, total);
  {
    auto stream = std::make_unique<platform::TFileStream>(name, platform::fmCreate);
    auto handler = base::MakeRef<shell::TCefStreamDownloadHandler>(std::move(stream),
                                                                   shell::DownloadWatch{window.strip->Observer(), id, total});
    // The runtime holds the structure with one reference and calls its members.
    auto* raw = reinterpret_cast<TCefDownloadHandler*>(handler->Wrap());
    handler = nullptr;
    for (int i = 0; i < kChunks; ++i) {
      if (raw->received_data(raw, chunk.data(), kChunk) != kChunk) std::fprintf(stderr, "short write\n");
      TurnLoop();
    }
    raw->complete(raw);
    raw->base.release(&raw->base);  // closes the file
  }
  double seconds = std::chrono::duration<double>(Clock::now() - t0).count();
  if (window.strip->Lines().back().state != shell::DownloadLine::State::Saved) std::fprintf(stderr, "not saved\n");
  window.strip->CloseLine(id);
  return seconds;
}

double PlainWriteFile(const std::wstring& path, std::vector<char>& chunk) {
  auto t0 = Clock::now();
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD done = 0;
  for (int i = 0; i < kChunks; ++i) {
    WriteFile(file, chunk.data(), kChunk, &done, nullptr);
    TurnLoop();
  }
  CloseHandle(file);
  return std::chrono::duration<double>(Clock::now() - t0).count();
}

// The fastest run of each way: what the path can do when nothing else on the machine
// gets in its way (other processes only ever slow a run down).
double Best(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

}  // namespace

int main(int argc, char** argv) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring folder = argc > 1 ? std::wstring(argv[1], argv[1] + strlen(argv[1])) + L"\\" : std::wstring(temp);
  std::wstring a = folder + L"qvn-download-handler.bin", b = folder + L"qvn-download-plain.bin";
  std::vector<char> chunk(kChunk);
  for (int i = 0; i < kChunk; ++i) chunk[i] = static_cast<char>(i % 251);
  // The taskbar button's progress goes through COM, initialised as the program does.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  std::vector<double> handler, plain;
  {
    StripWindow window;
    // Each run writes a new file (the old one is removed untimed), and the two ways take
    // turns going first, so that neither profits from the other's page cache or writeback.
    for (int round = 0; round < 11; ++round) {
      DeleteFileW(a.c_str());
      DeleteFileW(b.c_str());
      if (round % 2 == 0) {
        handler.push_back(ThroughHandler(a, chunk, window));
        plain.push_back(PlainWriteFile(b, chunk));
      } else {
        plain.push_back(PlainWriteFile(b, chunk));
        handler.push_back(ThroughHandler(a, chunk, window));
      }
    }
  }
  CoUninitialize();
  DeleteFileW(a.c_str());
  DeleteFileW(b.c_str());
  double mib = kChunks * double(kChunk) / (1024.0 * 1024.0);
  double h = mib / Best(handler), p = mib / Best(plain);
  std::printf("64 MiB in 64 KiB chunks, best of 11: through the download handler %.0f MiB/s, plain WriteFile "
              "%.0f MiB/s, ratio %.2f (goal: at least 0.9)\n",
              h, p, h / p);
  std::printf("RESULT handler_mib_s %.0f\nRESULT writefile_mib_s %.0f\nRESULT download_ratio %.2f\n", h, p, h / p);
  return 0;
}
