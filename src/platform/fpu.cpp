#include "platform/fpu.h"

#include <atomic>

namespace platform {
namespace {

// MXCSR: exception flags in bits 0-5, the matching masks in bits 7-12.
constexpr uint32_t kSseExceptionMasks = 0x1F80;
constexpr uint32_t kSseExceptionFlags = 0x3F;

std::atomic<uint16_t> g_default_x87{0};
std::atomic<uint32_t> g_default_sse{0};

#if defined(__i386__) || defined(__x86_64__)
void SetX87(uint16_t cw) noexcept { __asm__ __volatile__("fnclex\n\tfldcw %0" : : "m"(cw)); }
#endif
#if defined(__x86_64__) || defined(__SSE__)
void SetSse(uint32_t csr) noexcept { __asm__ __volatile__("ldmxcsr %0" : : "m"(csr)); }
#endif

}  // namespace

uint16_t X87ControlWord() noexcept {
#if defined(__i386__) || defined(__x86_64__)
  uint16_t cw = 0;
  __asm__ __volatile__("fnstcw %0" : "=m"(cw));
  return cw;
#else
  return 0;
#endif
}

uint32_t SseControlStatus() noexcept {
#if defined(__x86_64__) || defined(__SSE__)
  uint32_t csr = 0;
  __asm__ __volatile__("stmxcsr %0" : "=m"(csr));
  return csr;
#else
  return 0;
#endif
}

void MaskFloatingPointExceptions() noexcept {
#if defined(__i386__) || defined(__x86_64__)
  uint16_t cw = static_cast<uint16_t>(X87ControlWord() | kX87ExceptionMask);
  SetX87(cw);
  g_default_x87 = cw;
#if defined(__x86_64__) || defined(__SSE__)
  uint32_t csr = (SseControlStatus() | kSseExceptionMasks) & ~kSseExceptionFlags;
  SetSse(csr);
  g_default_sse = csr;
#endif
#endif
}

void RestoreDefaultFpuControl() noexcept {
#if defined(__i386__) || defined(__x86_64__)
  if (uint16_t cw = g_default_x87) SetX87(cw);
#if defined(__x86_64__) || defined(__SSE__)
  if (uint32_t csr = g_default_sse) SetSse(csr);
#endif
#endif
}

}  // namespace platform
