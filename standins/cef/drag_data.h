#pragma once
// The stand-in's drag data: what a drag carries, as the drag handler's events see it.

#include <optional>
#include <string>
#include <vector>

#include "standin.h"

namespace standin {

struct DragContent {
  bool isLink = false;
  bool isFragment = false;
  bool isFile = false;
  // A text that is absent answers null; a present one, even an empty one, a string.
  std::optional<std::u16string> linkUrl, linkTitle, linkMetadata;
  std::optional<std::u16string> fragmentText, fragmentHtml, fragmentBaseUrl;
  std::optional<std::u16string> fileExtension, fileName;
  std::vector<std::u16string> fileNames;
};

// A new drag-data object with one reference for the receiver.
TCefDragData* NewDragData(DragContent content);

}  // namespace standin
