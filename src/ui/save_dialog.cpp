#include "ui/save_dialog.h"

#include "ui/application.h"
#include "ui/form.h"
#include "ui/form_reader.h"
#include "ui/system.h"

namespace ui {

bool TSaveDialog::Execute() {
  SaveDialogRequest request{fileName, title, filter, defaultExt, overwritePrompt, true, true};
  HWND owner = GetActiveWindow();
  if (!owner && Application().MainForm() && Application().MainForm()->HandleAllocated())
    owner = Application().MainForm()->Handle();
  if (!System().RunSaveDialog(owner, request)) return false;
  fileName = request.fileName;
  return true;
}

}  // namespace ui

namespace ui {

bool TSaveDialog::ReadProperty(const LayoutProperty& p, FormReader& reader) {
  if (p.name == u"FileName") fileName = reader.String(p);
  else if (p.name == u"Title") title = reader.String(p);
  else if (p.name == u"Filter") filter = reader.String(p);
  else if (p.name == u"DefaultExt") defaultExt = reader.String(p);
  else return false;
  return true;
}

}  // namespace ui
