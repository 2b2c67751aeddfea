#pragma once
// Floating-point control for the embedded runtime, which expects masked exceptions.

#include <cstdint>

namespace platform {

// The x87 control word's six exception-mask bits (invalid operation, denormal operand,
// divide by zero, overflow, underflow, precision).
inline constexpr uint16_t kX87ExceptionMask = 0x3F;

// Masks every floating-point exception, keeping the other control bits, and clears the
// pending ones: faults then give infinities and NaNs instead of traps. On x87 this is the
// control word; on x86-64, whose arithmetic runs in SSE, the same six exceptions are masked
// in MXCSR too. The result becomes the control word that RestoreDefaultFpuControl() sets.
void MaskFloatingPointExceptions() noexcept;

// Sets the control word recorded as the process default on the calling thread.
void RestoreDefaultFpuControl() noexcept;

uint16_t X87ControlWord() noexcept;
uint32_t SseControlStatus() noexcept;

}  // namespace platform
