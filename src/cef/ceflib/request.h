#pragma once
// Requests, their post data and its elements, and responses: wrappers over the runtime's
// objects. Header maps are supplied by the caller (TCefStringMapHolder) and filled or read
// by the runtime.

#include <cstdint>
#include <string>

#include "cef/ceflib/wrapper_support.h"

namespace cef {

class ICefPostDataElement : public virtual ICefBase {
 public:
  static constexpr Guid IID = MakeGuid("{3353D1B8-0300-4ADC-8D74-4FF31C77D13C}");
  using Parent = ICefBase;

  virtual void SetToEmpty() = 0;
  virtual void SetToFile(const std::u16string& fileName) = 0;
  // The runtime copies the size bytes.
  virtual void SetToBytes(uint32_t size, const void* bytes) = 0;
  // The runtime's element type, passed through.
  virtual int32_t GetType() = 0;
  virtual std::u16string GetFile() = 0;
  virtual uint32_t GetBytesCount() = 0;
  // Copies up to size bytes into the caller's buffer; answers the runtime's count.
  virtual uint32_t GetBytes(uint32_t size, void* bytes) = 0;
};
template <>
struct CefWireOf<ICefPostDataElement> {
  using type = TCefPostDataElement;
};

class ICefPostData : public virtual ICefBase {
 public:
  static constexpr Guid IID = MakeGuid("{1E677630-9339-4732-BB99-D6FE4DE4AEC0}");
  using Parent = ICefBase;

  virtual uint32_t GetCount() = 0;
  virtual Ref<ICefPostDataElement> GetElement(int32_t index) = 0;
  // Non-zero when removed; a null element goes to the runtime as null.
  virtual int32_t RemoveElement(const Ref<ICefPostDataElement>& element) = 0;
  // Non-zero when added; a null element goes to the runtime as null.
  virtual int32_t AddElement(const Ref<ICefPostDataElement>& element) = 0;
  virtual void RemoveElements() = 0;
};
template <>
struct CefWireOf<ICefPostData> {
  using type = TCefPostData;
};

class ICefRequest : public virtual ICefBase {
 public:
  static constexpr Guid IID = MakeGuid("{FB4718D3-7D13-4979-9F4C-D7F6C0EC592A}");
  using Parent = ICefBase;

  virtual std::u16string GetUrl() = 0;
  virtual std::u16string GetMethod() = 0;
  virtual Ref<ICefPostData> GetPostData() = 0;
  virtual void GetHeaderMap(ICefStringMap& headerMap) = 0;
  virtual void SetUrl(const std::u16string& value) = 0;
  virtual void SetMethod(const std::u16string& value) = 0;
  // Null leaves the request's post data as it was: nothing is called.
  virtual void SetPostData(const Ref<ICefPostData>& value) = 0;
  virtual void SetHeaderMap(ICefStringMap& headerMap) = 0;
  virtual int32_t GetFlags() = 0;
  virtual void SetFlags(int32_t flags) = 0;
  virtual std::u16string GetFirstPartyForCookies() = 0;
  virtual void SetFirstPartyForCookies(const std::u16string& url) = 0;
};
template <>
struct CefWireOf<ICefRequest> {
  using type = TCefRequest;
};

class ICefResponse : public virtual ICefBase {
 public:
  static constexpr Guid IID = MakeGuid("{E9C896E4-59A8-4B96-AB5E-6EA3A498B7F1}");
  using Parent = ICefBase;

  virtual int32_t GetStatus() = 0;
  virtual void SetStatus(int32_t status) = 0;
  virtual std::u16string GetStatusText() = 0;
  virtual void SetStatusText(const std::u16string& statusText) = 0;
  virtual std::u16string GetMimeType() = 0;
  virtual void SetMimeType(const std::u16string& mimeType) = 0;
  virtual std::u16string GetHeader(const std::u16string& name) = 0;
  virtual void GetHeaderMap(ICefStringMap& headerMap) = 0;
  virtual void SetHeaderMap(ICefStringMap& headerMap) = 0;
};
template <>
struct CefWireOf<ICefResponse> {
  using type = TCefResponse;
};

class TCefPostDataElementRef : public TCefRefOf<ICefPostDataElement> {
 public:
  using TCefRefOf::TCefRefOf;
  static Ref<ICefPostDataElement> UnWrap(TCefPostDataElement* data);
  static Ref<ICefPostDataElement> New();

  void SetToEmpty() override;
  void SetToFile(const std::u16string& fileName) override;
  void SetToBytes(uint32_t size, const void* bytes) override;
  int32_t GetType() override;
  std::u16string GetFile() override;
  uint32_t GetBytesCount() override;
  uint32_t GetBytes(uint32_t size, void* bytes) override;
};

class TCefPostDataRef : public TCefRefOf<ICefPostData> {
 public:
  using TCefRefOf::TCefRefOf;
  static Ref<ICefPostData> UnWrap(TCefPostData* data);
  static Ref<ICefPostData> New();

  uint32_t GetCount() override;
  Ref<ICefPostDataElement> GetElement(int32_t index) override;
  int32_t RemoveElement(const Ref<ICefPostDataElement>& element) override;
  int32_t AddElement(const Ref<ICefPostDataElement>& element) override;
  void RemoveElements() override;
};

class TCefRequestRef : public TCefRefOf<ICefRequest> {
 public:
  using TCefRefOf::TCefRefOf;
  static Ref<ICefRequest> UnWrap(TCefRequest* data);
  static Ref<ICefRequest> New();

  std::u16string GetUrl() override;
  std::u16string GetMethod() override;
  Ref<ICefPostData> GetPostData() override;
  void GetHeaderMap(ICefStringMap& headerMap) override;
  void SetUrl(const std::u16string& value) override;
  void SetMethod(const std::u16string& value) override;
  void SetPostData(const Ref<ICefPostData>& value) override;
  void SetHeaderMap(ICefStringMap& headerMap) override;
  int32_t GetFlags() override;
  void SetFlags(int32_t flags) override;
  std::u16string GetFirstPartyForCookies() override;
  void SetFirstPartyForCookies(const std::u16string& url) override;
};

// A response has no creator: the runtime hands responses to the program.
class TCefResponseRef : public TCefRefOf<ICefResponse> {
 public:
  using TCefRefOf::TCefRefOf;
  static Ref<ICefResponse> UnWrap(TCefResponse* data);

  int32_t GetStatus() override;
  void SetStatus(int32_t status) override;
  std::u16string GetStatusText() override;
  void SetStatusText(const std::u16string& statusText) override;
  std::u16string GetMimeType() override;
  void SetMimeType(const std::u16string& mimeType) override;
  std::u16string GetHeader(const std::u16string& name) override;
  void GetHeaderMap(ICefStringMap& headerMap) override;
  void SetHeaderMap(ICefStringMap& headerMap) override;
};

}  // namespace cef
