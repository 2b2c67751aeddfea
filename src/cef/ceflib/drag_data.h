#pragma once
// What the user drags onto or out of a browser: a read-only view of the runtime's drag data.

#include <string>
#include <vector>

#include "cef/ceflib/wrapper_support.h"

namespace cef {

class ICefDragData : public virtual ICefBase {
 public:
  static constexpr Guid IID = MakeGuid("{70088159-3D67-496E-89B1-56ACAF627CBF}");
  using Parent = ICefBase;

  virtual bool IsLink() = 0;
  virtual bool IsFragment() = 0;
  virtual bool IsFile() = 0;
  virtual std::u16string GetLinkUrl() = 0;
  virtual std::u16string GetLinkTitle() = 0;
  virtual std::u16string GetLinkMetadata() = 0;
  virtual std::u16string GetFragmentText() = 0;
  virtual std::u16string GetFragmentHtml() = 0;
  virtual std::u16string GetFragmentBaseUrl() = 0;
  virtual std::u16string GetFileExtension() = 0;
  virtual std::u16string GetFileName() = 0;
  // Appends the dragged files' names to names (which is not cleared first), whatever the
  // runtime answers; answers the runtime's result.
  virtual bool GetFileNames(std::vector<std::u16string>& names) = 0;
};
template <>
struct CefWireOf<ICefDragData> {
  using type = TCefDragData;
};

class TCefDragDataRef : public TCefRefOf<ICefDragData> {
 public:
  using TCefRefOf::TCefRefOf;
  static Ref<ICefDragData> UnWrap(TCefDragData* data);

  bool IsLink() override;
  bool IsFragment() override;
  bool IsFile() override;
  std::u16string GetLinkUrl() override;
  std::u16string GetLinkTitle() override;
  std::u16string GetLinkMetadata() override;
  std::u16string GetFragmentText() override;
  std::u16string GetFragmentHtml() override;
  std::u16string GetFragmentBaseUrl() override;
  std::u16string GetFileExtension() override;
  std::u16string GetFileName() override;
  bool GetFileNames(std::vector<std::u16string>& names) override;
};

}  // namespace cef
