#include "cef/ceflib/drag_data.h"

namespace cef {

using Drag = TCefDragData;

Ref<ICefDragData> TCefDragDataRef::UnWrap(TCefDragData* data) { return UnWrapAs<TCefDragDataRef, ICefDragData>(data); }

bool TCefDragDataRef::IsLink() { return CallBool(&Drag::is_link); }
bool TCefDragDataRef::IsFragment() { return CallBool(&Drag::is_fragment); }
bool TCefDragDataRef::IsFile() { return CallBool(&Drag::is_file); }
std::u16string TCefDragDataRef::GetLinkUrl() { return CallString(&Drag::get_link_url); }
std::u16string TCefDragDataRef::GetLinkTitle() { return CallString(&Drag::get_link_title); }
std::u16string TCefDragDataRef::GetLinkMetadata() { return CallString(&Drag::get_link_metadata); }
std::u16string TCefDragDataRef::GetFragmentText() { return CallString(&Drag::get_fragment_text); }
std::u16string TCefDragDataRef::GetFragmentHtml() { return CallString(&Drag::get_fragment_html); }
std::u16string TCefDragDataRef::GetFragmentBaseUrl() { return CallString(&Drag::get_fragment_base_url); }
std::u16string TCefDragDataRef::GetFileExtension() { return CallString(&Drag::get_file_extension); }
std::u16string TCefDragDataRef::GetFileName() { return CallString(&Drag::get_file_name); }

bool TCefDragDataRef::GetFileNames(std::vector<std::u16string>& names) {
  bool result = false;
  CefStringListRead([&](TCefStringList list) { result = CallBool(&Drag::get_file_names, list); }, names);
  return result;
}

}  // namespace cef
