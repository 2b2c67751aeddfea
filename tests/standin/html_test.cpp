// The stand-in's HTML parser: the trees it builds from untidy pages, the text and markup
// it gives back, and the decoding of a page's bytes.

#include <gtest/gtest.h>

#include "standin/net_support.h"

namespace {

using net_support::Query;

// The markup of the body's content, for cases about what the body holds.
std::u16string BodyOf(std::string_view source) {
  std::u16string markup = Query(source, "markup");
  size_t start = markup.find(u"<body>");
  size_t end = markup.rfind(u"</body>");
  if (start == std::u16string::npos || end == std::u16string::npos) return u"(no body) " + markup;
  return markup.substr(start + 6, end - start - 6);
}

class HtmlTest : public testing_support::StandinTest {};

TEST_F(HtmlTest, MissingHtmlHeadAndBodyAreImplied) {
  EXPECT_EQ(Query("hello", "markup"), u"<html><head></head><body>hello</body></html>");
  EXPECT_EQ(Query("", "markup"), u"<html><head></head><body></body></html>");
  EXPECT_EQ(Query("<title>T</title><meta charset=utf-8><p>x", "markup"),
            u"<html><head><title>T</title><meta charset=\"utf-8\"></head><body><p>x</p></body></html>");
  EXPECT_EQ(Query("<html lang=ko><body class=b>x</body></html>", "markup"),
            u"<html lang=\"ko\"><head></head><body class=\"b\">x</body></html>");
  // Text after the closing tags still belongs to the body.
  EXPECT_EQ(BodyOf("<body><p>a</p></body></html>tail"), u"<p>a</p>tail");
}

TEST_F(HtmlTest, UnclosedElementsCloseWhereBrowsersCloseThem) {
  EXPECT_EQ(BodyOf("<p>a<p>b<div>c</div>"), u"<p>a</p><p>b</p><div>c</div>");
  EXPECT_EQ(BodyOf("<ul><li>1<li>2<ul><li>2.1</ul><li>3</ul>"),
            u"<ul><li>1</li><li>2<ul><li>2.1</li></ul></li><li>3</li></ul>");
  EXPECT_EQ(BodyOf("<dl><dt>t<dd>d<dt>u</dl>"), u"<dl><dt>t</dt><dd>d</dd><dt>u</dt></dl>");
  EXPECT_EQ(BodyOf("<select><option>a<option selected>b</select>"),
            u"<select><option>a</option><option selected=\"\">b</option></select>");
  EXPECT_EQ(BodyOf("<table><tr><td>a<td>b<tr><th>c</table>"),
            u"<table><tbody><tr><td>a</td><td>b</td></tr><tr><th>c</th></tr></tbody></table>");
  EXPECT_EQ(BodyOf("<table><td>x</table>"), u"<table><tbody><tr><td>x</td></tr></tbody></table>");
  EXPECT_EQ(BodyOf("<h1>a<h2>b</h2>"), u"<h1>a</h1><h2>b</h2>");
  EXPECT_EQ(BodyOf("<a href=1>x<a href=2>y</a>"), u"<a href=\"1\">x</a><a href=\"2\">y</a>");
}

TEST_F(HtmlTest, StrayEndTagsAreIgnored) {
  EXPECT_EQ(BodyOf("<div>a</span></b>b</div></div>c"), u"<div>ab</div>c");
  EXPECT_EQ(BodyOf("<div><span>x</div>y"), u"<div><span>x</span></div>y");
  EXPECT_EQ(BodyOf("<table><tr><td><div>x</td></tr></table>"),
            u"<table><tbody><tr><td><div>x</div></td></tr></tbody></table>");
  EXPECT_EQ(BodyOf("<td>cell</td>"), u"<td>cell</td>") << "a cell outside a table stays an element";
  EXPECT_EQ(BodyOf("<table><tr><td>a</table>after"), u"<table><tbody><tr><td>a</td></tr></tbody></table>after")
      << "</table> closes the open cell and row";
  EXPECT_EQ(BodyOf("a</p>b"), u"a<p></p>b") << "a stray </p> makes an empty paragraph";
  EXPECT_EQ(BodyOf("a</br>b"), u"a<br>b");
}

TEST_F(HtmlTest, VoidElementsTakeNoChildren) {
  EXPECT_EQ(BodyOf("<p>a<br>b<img src=x.png>c<input value=1 disabled></p>"),
            u"<p>a<br>b<img src=\"x.png\">c<input value=\"1\" disabled=\"\"></p>");
  EXPECT_EQ(BodyOf("<br/><hr /><div/>x</div>"), u"<br><hr><div>x</div>") << "'/>' closes only void elements";
}

TEST_F(HtmlTest, RawTextIsNotParsed) {
  std::string script = "<p>x</p><script>if (a < b && c > d) { s = '</p><b>'; }</script>";
  EXPECT_EQ(BodyOf(script), u"<p>x</p><script>if (a < b && c > d) { s = '</p><b>'; }</script>");
  EXPECT_EQ(Query(script, "count p"), u"1");
  EXPECT_EQ(Query(script, "count b"), u"0");
  EXPECT_EQ(BodyOf("<body><style>p > a { content: '&amp;' }</style>"), u"<style>p > a { content: '&amp;' }</style>");
  EXPECT_EQ(Query("<style>p{}</style><p>x", "markup"),
            u"<html><head><style>p{}</style></head><body><p>x</p></body></html>")
      << "before the body, a style sheet goes into the head";
  EXPECT_EQ(BodyOf("<textarea id=t>\n&lt;b&gt; <i>not</i></TEXTAREA>"),
            u"<textarea id=\"t\">&lt;b&gt; &lt;i&gt;not&lt;/i&gt;</textarea>");
  EXPECT_EQ(BodyOf("<body><script>never closed <p>"), u"<script>never closed <p></script>");
  EXPECT_EQ(Query("<iframe name=f src=/a>fallback <b>x</b></iframe>", "count b"), u"0");
}

TEST_F(HtmlTest, AttributesInEveryQuotingStyle) {
  std::string page =
      R"(<a id=x href='/a?b=1&amp;c=2' title="say &quot;hi&quot;" data-n=plain checked CLASS=Nav id=ignored>t</a>)";
  EXPECT_EQ(Query(page, "#x @href"), u"/a?b=1&c=2");
  EXPECT_EQ(Query(page, "#x @title"), u"say \"hi\"");
  EXPECT_EQ(Query(page, "#x @data-n"), u"plain");
  EXPECT_EQ(Query(page, "#x @checked"), u"");
  EXPECT_EQ(Query(page, "#x @class"), u"Nav") << "names are lower case, values as written";
  EXPECT_EQ(Query(page, "#x @missing"), u"(none)");
  EXPECT_EQ(Query(page, "#ignored"), u"(none)") << "a repeated attribute is dropped";
  EXPECT_EQ(Query("<a id=q href=\"?a=1&copy=2&amp=3\">", "#q @href"), u"?a=1&copy=2&amp=3")
      << "a legacy name followed by '=' stays in an attribute";
  EXPECT_EQ(Query("<p id = \"s\" >x</p>", "#s text"), u"x");
}

TEST_F(HtmlTest, CharacterReferencesDecode) {
  EXPECT_EQ(Query("<p id=e>&amp; &lt; &gt; &quot; &apos; &nbsp; &copy; &#65;&#x48;&#X6a; &#x1F600; &#0; &#128;</p>", "#e inner"),
            u"&amp; &lt; &gt; \" ' &nbsp; \u00A9 AHj \U0001F600 \uFFFD \u20AC");
  EXPECT_EQ(Query("<p id=e>&unknown; & alone &#; &copy 2024 &ampx &lt3</p>", "#e text"),
            u"&unknown; & alone &#; \u00A9 2024 &x <3");
}

TEST_F(HtmlTest, CommentsAndDoctypesAreDropped) {
  EXPECT_EQ(Query("<!DOCTYPE html><!-- head --><p>x<!-- <p>inner</p> -->y</p><?php no ?><!---->", "markup"),
            u"<html><head></head><body><p>xy</p></body></html>");
  EXPECT_EQ(BodyOf("a<!-- never closed <p>b"), u"a");
}

TEST_F(HtmlTest, TitleAndElementsById) {
  EXPECT_EQ(Query("<title>  Two\n  words </title>", "title"), u"Two words");
  EXPECT_EQ(Query("<title>A &amp; B</title>", "title"), u"A & B");
  EXPECT_EQ(Query("<p>no title</p>", "title"), u"");
  std::string page = "<p id=a>1</p><div id=b><p id=a>2</p><span>s</span></div>";
  EXPECT_EQ(Query(page, "#a"), u"<p id=\"a\">1</p>") << "the first in document order";
  EXPECT_EQ(Query(page, "#b inner"), u"<p id=\"a\">2</p><span>s</span>");
  EXPECT_EQ(Query(page, "#A"), u"(none)") << "ids compare exactly";
  EXPECT_EQ(Query(page, "count p"), u"2");
}

TEST_F(HtmlTest, MarkupParsesBackToTheSameTree) {
  std::string page =
      "<!DOCTYPE html><html lang=ko><head><meta charset=utf-8><title>R &amp; T</title>"
      "<script>if (a<b) x='&amp;';</script></head><body>"
      "<pre>\n\nkept</pre><p title='a\"b'>x&nbsp;y &lt;z&gt;<br>한글</p>"
      "<textarea>\nline</textarea><ul><li>1<li>2</ul><table><tr><td>c</table></body></html>";
  std::u16string first = Query(page, "markup");
  std::string again = platform::Utf16ToUtf8(first);
  EXPECT_EQ(Query(again, "markup"), first);
  EXPECT_NE(first.find(u"<pre>\n\nkept</pre>"), std::u16string::npos) << platform::Utf16ToUtf8(first);
  EXPECT_NE(first.find(u"title=\"a&quot;b\""), std::u16string::npos) << platform::Utf16ToUtf8(first);
  EXPECT_NE(first.find(u"<script>if (a<b) x='&amp;';</script>"), std::u16string::npos);
}

TEST_F(HtmlTest, InnerTextIsWhatAReaderSees) {
  std::string page =
      "<head><title>T</title><style>x{}</style></head><body>"
      "<h1>Head  line</h1><p>a  b\n c<br>d<br><br>e</p><script>no</script><div hidden>no</div>"
      "<ul><li>one<li> two </ul><table><tr><td>1<td>2<tr><td>3</table><pre>  x\n  y</pre>"
      "in<b>line</b> <i>text</i>&nbsp;end</body>";
  EXPECT_EQ(Query(page, "text"), u"Head line\na b c\nd\n\ne\none\ntwo\n1\t2\n3\n  x\n  y\ninline text\u00A0end");
  EXPECT_EQ(Query("<p id=p>  spaced   <b> out </b> </p>", "#p text"), u"spaced out");
  EXPECT_EQ(Query("<div id=d><p>a</p><p>b</p></div>", "#d text"), u"a\nb");
}

// ---- Decoding ----

TEST_F(HtmlTest, KoreanBytesDecodeAsCodePage949) {
  std::string hangul = "<p id=k>\xC7\xD1\xB1\xDB</p>";  // 한글 in euc-kr
  EXPECT_EQ(Query(hangul, "#k text", "euc-kr"), u"한글");
  EXPECT_EQ(Query(hangul, "#k text", "KS_C_5601-1987"), u"한글");
  EXPECT_EQ(Query(hangul, "#k text", "cp949"), u"한글");
  // 똠 is outside euc-kr proper; pages labelled euc-kr use code page 949 all the same.
  EXPECT_EQ(Query("\x8C\x63", "decoded", "euc-kr"), u"똠");
  EXPECT_EQ(Query("a\xC7", "decoded", "euc-kr"), u"a\uFFFD") << "a lead byte cut off";
  EXPECT_EQ(Query("\xC7\x41x\xC7\xD1", "decoded", "euc-kr"), u"\uFFFDAx한") << "an ASCII trail byte is kept";
}

TEST_F(HtmlTest, AMetaNamesTheCharsetWhenTheAnswerDoesNot) {
  EXPECT_EQ(Query("<meta charset=\"euc-kr\"><title>\xC7\xD1</title>", "title"), u"한");
  EXPECT_EQ(Query("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=EUC-KR\"><title>\xC7\xD1</title>", "title"),
            u"한");
  EXPECT_EQ(Query("<META CHARSET=iso-8859-1><title>caf\xE9</title>", "title"), u"café");
  // A charset from the answer wins over the page's own claim.
  EXPECT_EQ(Query("<meta charset=euc-kr><title>\xC3\xA9</title>", "title", "utf-8"), u"é");
  // Past the first 1024 bytes a <meta> is not looked for.
  std::string late = std::string(1100, ' ') + "<meta charset=euc-kr><title>\xC7\xD1</title>";
  EXPECT_EQ(Query(late, "title"), u"\uFFFD\uFFFD");
}

TEST_F(HtmlTest, ByteOrderMarksAndOtherCharsets) {
  EXPECT_EQ(Query("\xEF\xBB\xBF<title>\xED\x95\x9C</title>", "title", "euc-kr"), u"한") << "the mark wins";
  EXPECT_EQ(Query("\xEF\xBB\xBFx", "decoded"), u"x");
  EXPECT_EQ(Query(std::string("\xFF\xFEh\0i\0", 6), "decoded"), u"hi");
  EXPECT_EQ(Query("caf\xE9 \x80", "decoded", "iso-8859-1"), u"café €") << "iso-8859-1 is read as windows-1252";
  EXPECT_EQ(Query("a\xFF" "b", "decoded", ""), u"a\uFFFDb") << "UTF-8 by default, bad bytes replaced";
  EXPECT_EQ(Query("\xED\x95\x9C", "decoded", "x-unknown"), u"한");
}

}  // namespace
