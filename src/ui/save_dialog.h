#pragma once

#include <string>

#include "ui/component.h"

namespace ui {

// The user's text for a save dialog that failed with that error code (CommDlgExtendedError).
std::u16string SaveDialogFailure(unsigned long error);

// The common save-file dialog as a component. Its defaults: no title of its own, no
// filter, no default extension, the read-only box hidden, resizable, and no question
// before an existing file is replaced.
class TSaveDialog : public TComponent {
 public:
  explicit TSaveDialog(TComponent* owner) : TComponent(owner) {}

  std::u16string fileName;
  std::u16string title;
  std::u16string filter;
  std::u16string defaultExt;
  bool overwritePrompt = false;

  // Shows the dialog modally over the active window; true, with the chosen full path in
  // fileName, when the user confirmed, false when the user cancelled. A dialog that could
  // not open raises an exception that names the reason.
  bool Execute();

  bool ReadProperty(const LayoutProperty& property, FormReader& reader) override;
};

}  // namespace ui
