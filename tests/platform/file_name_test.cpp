#include "platform/file_name.h"

#include <gtest/gtest.h>

namespace {

TEST(FileNameTest, EachKindOfBadSuggestionBecomesANameWindowsAccepts) {
  const std::u16string longStem(300, u'가');
  struct Case {
    std::u16string suggested, expected;
  } cases[] = {
      {u"공고서 2024.pdf", u"공고서 2024.pdf"},
      {u"a<b>c:d\"e|f?g*h.txt", u"a_b_c_d_e_f_g_h.txt"},
      {u"tab\there\x01.doc", u"tab_here_.doc"},
      {u"..\\..\\windows\\system32\\evil.exe", u"evil.exe"},
      {u"dir/sub/report.hwp", u"report.hwp"},
      {u"C:report.pdf", u"C_report.pdf"},
      {u"report.pdf. . ", u"report.pdf"},
      {u"CON", u"_CON"},
      {u"con.txt", u"_con.txt"},
      {u"Lpt9.tar.gz", u"_Lpt9.tar.gz"},
      {u"COM0.txt", u"COM0.txt"},
      {u"CONSOLE.txt", u"CONSOLE.txt"},
      {longStem + u".pdf", longStem.substr(0, 196) + u".pdf"},
      {std::u16string(199, u'a') + u"\U0001F600.pdf", std::u16string(196, u'a') + u".pdf"},
      {std::u16string(199, u'a') + u"\U0001F600", std::u16string(199, u'a')},
      {u"", u"download"},
      {u"..", u"download"},
      {u"folder\\", u"download"},
      {u" . ", u"download"},
  };
  for (const Case& c : cases) {
    std::u16string got = platform::ValidFileName(c.suggested);
    EXPECT_TRUE(got == c.expected) << "for " << testing::PrintToString(c.suggested) << " got "
                                   << testing::PrintToString(got);
    EXPECT_LE(got.size(), platform::kMaxSuggestedName);
  }
}

}  // namespace
