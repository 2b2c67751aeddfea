// The decisions on text from pages and servers, on their own: file names, the service's
// addresses and the portal's address. What the shell may open is tested where a page asks.

#include "shell/untrusted.h"

#include <gtest/gtest.h>

#include <vector>

#include "shell/config.h"

namespace {

TEST(FileNameTest, EachKindOfBadSuggestionBecomesANameWindowsAccepts) {
  const std::u16string longStem(300, u'가');
  const std::u16string blanks(250, u' ');
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
      {u"  report.pdf", u"report.pdf"},
      // Direction marks would show "invoiceexe.pdf" for a program.
      {u"invoice\u202Efdp.exe", u"invoice_fdp.exe"},
      {u"a\u061Cb\u200Ec\u200Fd\u202Ae\u2066f\u2069.txt", u"a_b_c_d_e_f_.txt"},
      {u"x\xD800y\xDC00z.txt", u"x_y_z.txt"},
      {u"\U0001F600.txt", u"\U0001F600.txt"},
      {u"CON", u"_CON"},
      {u"con.txt", u"_con.txt"},
      {u"Lpt9.tar.gz", u"_Lpt9.tar.gz"},
      {u"COM0.txt", u"_COM0.txt"},
      {u"lpt0", u"_lpt0"},
      {u"COM\u00B9.txt", u"_COM\u00B9.txt"},
      {u"LPT\u00B3", u"_LPT\u00B3"},
      {u"conin$.log", u"_conin$.log"},
      {u"CONOUT$", u"_CONOUT$"},
      {u"nul .txt", u"_nul .txt"},
      {u"CONSOLE.txt", u"CONSOLE.txt"},
      {u"COM10.txt", u"COM10.txt"},
      // The reserved name shows only once the blanks are cut away.
      {u"aux" + blanks + u"b", u"_aux"},
      {u"nul" + blanks + u"x.txt", u"_nul.txt"},
      {u".pdf", u"download.pdf"},
      {u"   .pdf", u"download.pdf"},
      {blanks + u".pdf", u"download.pdf"},
      {longStem + u".pdf", longStem.substr(0, 196) + u".pdf"},
      {std::u16string(199, u'a') + u"\U0001F600.pdf", std::u16string(196, u'a') + u".pdf"},
      {std::u16string(199, u'a') + u"\U0001F600", std::u16string(199, u'a')},
      {u"CON." + std::u16string(196, u'x'), u"_CON." + std::u16string(195, u'x')},
      {u"", u"download"},
      {u"..", u"download"},
      {u"folder\\", u"download"},
      {u" . ", u"download"},
  };
  for (const Case& c : cases) {
    std::u16string got = shell::ValidFileName(c.suggested);
    EXPECT_TRUE(got == c.expected) << "for " << testing::PrintToString(c.suggested) << " got "
                                   << testing::PrintToString(got);
    EXPECT_LE(got.size(), shell::kMaxSuggestedName);
  }
}

TEST(ServiceAddressTest, OnlyAddressesOfTheServicesSchemeOnItsHostCount) {
  const std::u16string host = shell::ServiceHost;
  const std::u16string own = std::u16string(shell::ServiceScheme) + u"://";
  const std::u16string other = own == u"http://" ? u"https://" : u"http://";
  const std::u16string upperOwn = own == u"http://" ? u"HTTP://" : u"HTTPS://";
  const std::vector<std::u16string> accepted = {
      own + host,       own + host + u"/", own + host + u"/bid/view?no=1",
      upperOwn + host + u"/x", own + host + u"?q", own + host + u"#top"};
  for (const std::u16string& url : accepted)
    EXPECT_TRUE(shell::IsServiceAddress(url)) << ::testing::PrintToString(url);
  std::u16string upper;
  for (char16_t c : host) upper += (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c;
  EXPECT_TRUE(shell::IsServiceAddress(own + upper + u"/")) << "host names ignore case";

  const std::vector<std::u16string> refused = {
      std::u16string(), other + host + u"/", u"ftp://" + host + u"/", u"file:///C:/" + host,
      own + host + u":8080/", own + host + u".evil.example/", own + u"evil.example/" + host,
      own + u"evil.example/?" + host, own + u"x" + host + u"/", own + host + u"@evil.example/",
      own + u"user@" + host + u"/", own.substr(0, own.size() - 2) + host, own.substr(0, own.size() - 1) + host, u"about:blank", own,
      u"data:text/html," + own + host};
  for (const std::u16string& url : refused)
    EXPECT_FALSE(shell::IsServiceAddress(url)) << ::testing::PrintToString(url);
}

TEST(PortalAddressTest, TheBidNumberCannotChangeWhichPageIsAskedFor) {
  const std::u16string address = shell::BidListAddress(u"20-24_a.B&x=1#top?q %가\U0001F600\xD800");
  const std::u16string expected = u"&bidno=20-24_a.B%26x%3D1%23top%3Fq%20%25%EA%B0%80%F0%9F%98%80%EF%BF%BD&searchType=2";
  ASSERT_GE(address.size(), expected.size());
  EXPECT_EQ(address.substr(address.size() - expected.size()), expected);
}

}  // namespace
