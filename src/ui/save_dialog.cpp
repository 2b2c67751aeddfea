#include "ui/save_dialog.h"

#include <cderr.h>

#include <cwchar>

#include "platform/errors.h"
#include "platform/text.h"

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
  switch (System().RunSaveDialog(owner, request)) {
    case DialogOutcome::Confirmed:
      fileName = request.fileName;
      return true;
    case DialogOutcome::Cancelled:
      return false;
    case DialogOutcome::Failed:
      break;
  }
  throw platform::Exception(SaveDialogFailure(request.error));
}

std::u16string SaveDialogFailure(unsigned long error) {
  std::u16string reason;
  switch (error) {
    case FNERR_INVALIDFILENAME: reason = u"파일 이름이 올바르지 않습니다"; break;
    case FNERR_BUFFERTOOSMALL: reason = u"파일 이름이 너무 깁니다"; break;
    case CDERR_MEMALLOCFAILURE:
    case CDERR_MEMLOCKFAILURE:
    case FNERR_SUBCLASSFAILURE: reason = u"메모리가 부족합니다"; break;
    default: reason = u"대화상자 오류"; break;
  }
  wchar_t code[16];
  swprintf(code, 16, L"0x%04lX", static_cast<unsigned long>(error));
  return u"저장 대화상자를 열 수 없습니다: " + reason + u" (" + platform::WideToUtf16(code) + u").";
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
