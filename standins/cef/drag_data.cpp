// Drag data: a record of what a drag carries behind its wire members.

#include "drag_data.h"

namespace standin {
namespace {

class DragData final : public Wired<TCefDragData, Kind::DragData> {
 public:
  explicit DragData(DragContent dragContent);
  DragContent content;
};

template <class F>
TCefBool Flag(TCefDragData* self, const char* member, F flag) {
  auto* d = Self<DragData>(self, member);
  return d && flag(d->content) ? 1 : 0;
}

TCefStringUserFree Text(TCefDragData* self, const char* member, std::optional<std::u16string> DragContent::*field) {
  auto* d = Self<DragData>(self, member);
  if (!d || !(d->content.*field)) return nullptr;
  return UserFree(*(d->content.*field));
}

void InstallTexts(TCefDragData& w) {
  w.get_link_url = [](TCefDragData* self) CEF_CALLBACK { return Text(self, "get_link_url", &DragContent::linkUrl); };
  w.get_link_title = [](TCefDragData* self) CEF_CALLBACK {
    return Text(self, "get_link_title", &DragContent::linkTitle);
  };
  w.get_link_metadata = [](TCefDragData* self) CEF_CALLBACK {
    return Text(self, "get_link_metadata", &DragContent::linkMetadata);
  };
  w.get_fragment_text = [](TCefDragData* self) CEF_CALLBACK {
    return Text(self, "get_fragment_text", &DragContent::fragmentText);
  };
  w.get_fragment_html = [](TCefDragData* self) CEF_CALLBACK {
    return Text(self, "get_fragment_html", &DragContent::fragmentHtml);
  };
  w.get_fragment_base_url = [](TCefDragData* self) CEF_CALLBACK {
    return Text(self, "get_fragment_base_url", &DragContent::fragmentBaseUrl);
  };
  w.get_file_extension = [](TCefDragData* self) CEF_CALLBACK {
    return Text(self, "get_file_extension", &DragContent::fileExtension);
  };
  w.get_file_name = [](TCefDragData* self) CEF_CALLBACK {
    return Text(self, "get_file_name", &DragContent::fileName);
  };
}

DragData::DragData(DragContent dragContent) : content(std::move(dragContent)) {
  wire_.is_link = [](TCefDragData* self) CEF_CALLBACK {
    return Flag(self, "is_link", [](const DragContent& c) { return c.isLink; });
  };
  wire_.is_fragment = [](TCefDragData* self) CEF_CALLBACK {
    return Flag(self, "is_fragment", [](const DragContent& c) { return c.isFragment; });
  };
  wire_.is_file = [](TCefDragData* self) CEF_CALLBACK {
    return Flag(self, "is_file", [](const DragContent& c) { return c.isFile; });
  };
  InstallTexts(wire_);
  // The names are appended after whatever the list holds; the answer tells whether
  // there were any.
  wire_.get_file_names = [](TCefDragData* self, TCefStringList names) CEF_CALLBACK -> TCefBool {
    auto* d = Self<DragData>(self, "get_file_names");
    if (!d || !names) return 0;
    for (const std::u16string& name : d->content.fileNames) ListAppend(names, name);
    return d->content.fileNames.empty() ? 0 : 1;
  };
}

}  // namespace

TCefDragData* NewDragData(DragContent content) { return Create<DragData>(std::move(content))->wire(); }

}  // namespace standin
