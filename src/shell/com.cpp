#include "shell/com.h"

#include <cstring>
#include <utility>

namespace shell {

ComVariant::ComVariant(ComVariant&& other) noexcept {
  // A VARIANT is moved bit for bit; the source is left empty so that only one clears it.
  std::memcpy(&value_, &other.value_, sizeof value_);
  VariantInit(&other.value_);
}

ComVariant& ComVariant::operator=(ComVariant&& other) noexcept {
  if (this != &other) {
    VariantClear(&value_);
    std::memcpy(&value_, &other.value_, sizeof value_);
    VariantInit(&other.value_);
  }
  return *this;
}

ComVariant ComVariant::Int32(int32_t value) noexcept {
  ComVariant variant;
  V_VT(&variant.value_) = VT_I4;
  V_I4(&variant.value_) = value;
  return variant;
}

ComVariant ComVariant::String(std::u16string_view text) {
  ComBstr copy = ComBstr::FromText(text);
  ComVariant variant;
  V_VT(&variant.value_) = VT_BSTR;
  V_BSTR(&variant.value_) = copy.detach();
  return variant;
}

ComVariant ComVariant::Missing() noexcept {
  ComVariant variant;
  V_VT(&variant.value_) = VT_ERROR;
  V_ERROR(&variant.value_) = DISP_E_PARAMNOTFOUND;
  return variant;
}

ComBstr ComBstr::FromText(std::u16string_view text) {
  ComBstr result;
  result.text_ = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()));
  if (!result.text_) throw EComError(E_OUTOFMEMORY, u"SysAllocStringLen");
  return result;
}

BSTR ComBstr::detach() noexcept { return std::exchange(text_, nullptr); }

void ComBstr::reset() noexcept {
  SysFreeString(text_);
  text_ = nullptr;
}

std::u16string_view ComBstr::View() const noexcept {
  if (!text_) return {};
  return {reinterpret_cast<const char16_t*>(text_), SysStringLen(text_)};
}

namespace {

// The system's text for the code, followed by the call; codes the system has no text for
// (a server's own, say) are named by the call alone.
std::u16string CallFailureText(HRESULT result, std::u16string_view call) {
  std::u16string text = platform::SysErrorMessage(static_cast<uint32_t>(result));
  if (text.empty()) return std::u16string(call);
  return text + u" (" + std::u16string(call) + u")";
}

}  // namespace

EComError::EComError(HRESULT result, std::u16string_view call)
    : platform::EOSError(static_cast<uint32_t>(result), CallFailureText(result, call)), call_(call) {}

}  // namespace shell
