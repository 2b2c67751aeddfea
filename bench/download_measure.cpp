// Measures the download path under Wine: 64 MiB pushed in 64 KiB chunks through a
// TCefStreamDownloadHandler's structure, as the runtime pushes them, against plain
// WriteFile of the same chunks to a file in the same folder.
//   download_measure [folder]

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/stream.h"
#include "shell/download_handler.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kChunk = 64 * 1024;
constexpr int kChunks = 1024;  // 64 MiB

double ThroughHandler(const std::wstring& path, std::vector<char>& chunk) {
  auto t0 = Clock::now();
  {
    auto stream = std::make_unique<platform::TFileStream>(
        std::u16string(reinterpret_cast<const char16_t*>(path.c_str())), platform::fmCreate);
    auto handler = base::MakeRef<shell::TCefStreamDownloadHandler>(std::move(stream));
    // The runtime holds the structure with one reference and calls its members.
    auto* raw = reinterpret_cast<TCefDownloadHandler*>(handler->Wrap());
    handler = nullptr;
    for (int i = 0; i < kChunks; ++i)
      if (raw->received_data(raw, chunk.data(), kChunk) != kChunk) std::fprintf(stderr, "short write\n");
    raw->complete(raw);
    raw->base.release(&raw->base);  // closes the file
  }
  return std::chrono::duration<double>(Clock::now() - t0).count();
}

double PlainWriteFile(const std::wstring& path, std::vector<char>& chunk) {
  auto t0 = Clock::now();
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD done = 0;
  for (int i = 0; i < kChunks; ++i) WriteFile(file, chunk.data(), kChunk, &done, nullptr);
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
  std::vector<double> handler, plain;
  // Each run writes a new file (the old one is removed untimed), and the two ways take
  // turns going first, so that neither profits from the other's page cache or writeback.
  for (int round = 0; round < 11; ++round) {
    DeleteFileW(a.c_str());
    DeleteFileW(b.c_str());
    if (round % 2 == 0) {
      handler.push_back(ThroughHandler(a, chunk));
      plain.push_back(PlainWriteFile(b, chunk));
    } else {
      plain.push_back(PlainWriteFile(b, chunk));
      handler.push_back(ThroughHandler(a, chunk));
    }
  }
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
