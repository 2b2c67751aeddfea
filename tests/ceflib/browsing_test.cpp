// The layer over a stand-in browser that really browses: pages of the test HTTP service,
// reached by a made-up host name, read through the browser, frame, request, stream and
// DOM wrappers.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "ceflib/browsing_fixture.h"
#include "cef/ceflib/request.h"
#include "cef/ceflib/string_map.h"
#include "platform/text.h"
#include "support/standin_control.h"
#include "support/test_service.h"

namespace {

using namespace cef;
using testing_support::ProgramStandin;
using testing_support::TestServiceRequests;

bool Contains(const std::u16string& text, const std::u16string& part) { return text.find(part) != std::u16string::npos; }

using browsing_testing::BrowsingTest;

TEST_F(BrowsingTest, APageOverHttpIsReadThroughTheFrameAndItsDocument) {
  Load(Service("/dom?case=read"));
  Ref<ICefFrame> frame = browser_->GetMainFrame();
  ASSERT_TRUE(frame);
  EXPECT_TRUE(frame->IsMain());
  EXPECT_EQ(frame->GetUrl(), Service("/dom?case=read"));
  EXPECT_TRUE(Contains(frame->GetSource(), u"<title>DOM test page</title>"));
  EXPECT_TRUE(Contains(frame->GetText(), u"Hello, DOM"));
  EXPECT_FALSE(Contains(frame->GetText(), u"color: red")) << "styles are not text";
  EXPECT_TRUE(browser_->HasDocument());

  // The service saw the made-up host name.
  std::vector<std::string> requests = TestServiceRequests("case=read");
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(testing_support::LoggedHeader(requests[0], "Host"), "service.example");

  int visits = 0;
  std::u16string title, para, korean, missing = u"unset";
  frame->VisitDomProc([&](const Ref<ICefDomDocument>& document) {
    ++visits;
    ASSERT_TRUE(document);
    title = document->GetTitle();
    if (Ref<ICefDomNode> node = document->GetElementById(u"para")) para = node->GetElementInnerText();
    if (Ref<ICefDomNode> node = document->GetElementById(u"korean")) korean = node->GetElementInnerText();
    missing = document->GetElementById(u"no-such-id") ? u"found" : u"";
  });
  WaitIdle();
  EXPECT_EQ(visits, 1);
  EXPECT_EQ(title, u"DOM test page");
  EXPECT_EQ(para, u"First bold and italic text.");
  EXPECT_EQ(korean, u"한글 문장");
  EXPECT_EQ(missing, u"");
}

TEST_F(BrowsingTest, NamedFramesComeFromTheIframesOfThePage) {
  Load(Service("/frames"));
  std::vector<std::u16string> names{u"existing"};
  browser_->GetFrameNames(names);
  EXPECT_EQ(names, (std::vector<std::u16string>{u"existing", u"left", u"right"}));
  Ref<ICefFrame> left = browser_->GetFrame(u"left");
  ASSERT_TRUE(left);
  EXPECT_FALSE(left->IsMain());
  EXPECT_EQ(left->GetName(), u"left");
  EXPECT_EQ(left->GetUrl(), Service("/frames/left"));
  EXPECT_TRUE(Contains(left->GetText(), u"Left frame"));
  Ref<ICefBrowser> owner = left->GetBrowser();
  ASSERT_TRUE(owner);
  EXPECT_NE(owner.get(), browser_.get()) << "every hand-over makes a new wrapper";
  EXPECT_EQ(owner->GetMainFrame()->GetUrl(), Service("/frames"));
  EXPECT_FALSE(browser_->GetFrame(u"middle"));
}

TEST_F(BrowsingTest, HistoryGoesBackAndReloadFetchesAgain) {
  Load(Service("/dom?case=history"));
  Load(Service("/second?case=history"));
  EXPECT_TRUE(browser_->CanGoBack());
  EXPECT_FALSE(browser_->CanGoForward());
  browser_->GoBack();
  WaitIdle();
  EXPECT_EQ(browser_->GetMainFrame()->GetUrl(), Service("/dom?case=history"));
  EXPECT_TRUE(browser_->CanGoForward());

  size_t before = TestServiceRequests("/dom?case=history").size();
  browser_->Reload();
  WaitIdle();
  EXPECT_EQ(TestServiceRequests("/dom?case=history").size(), before + 1) << "reload reached the service";
}

TEST_F(BrowsingTest, APostedRequestCarriesItsHeadersAndBody) {
  Ref<ICefRequest> request = TCefRequestRef::New();
  ASSERT_TRUE(request);
  request->SetUrl(Service("/echo?case=post"));
  request->SetMethod(u"POST");
  Ref<ICefPostData> data = TCefPostDataRef::New();
  Ref<ICefPostDataElement> element = TCefPostDataElementRef::New();
  const char body[] = "bid=123-45&name=%ED%95%9C";
  element->SetToBytes(static_cast<uint32_t>(std::strlen(body)), body);
  EXPECT_NE(data->AddElement(element), 0);
  request->SetPostData(data);
  auto headers = base::MakeRef<TCefStringMapHolder>();
  headers->Append(u"X-Qvn-Test", u"posted");
  headers->Append(u"Content-Type", u"application/x-www-form-urlencoded");
  request->SetHeaderMap(*headers);
  EXPECT_EQ(request->GetMethod(), u"POST");

  browser_->GetMainFrame()->LoadRequest(request);
  WaitIdle();
  std::u16string echo = browser_->GetMainFrame()->GetSource();
  EXPECT_TRUE(Contains(echo, u"\"method\": \"POST\"")) << platform::Utf16ToUtf8(echo);
  EXPECT_TRUE(Contains(echo, u"[\"X-Qvn-Test\", \"posted\"]")) << platform::Utf16ToUtf8(echo);
  EXPECT_TRUE(Contains(echo, u"\"body\": \"bid=123-45&name=%ED%95%9C\"")) << platform::Utf16ToUtf8(echo);
  std::vector<std::string> requests = TestServiceRequests("case=post");
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].substr(0, 5), "POST\t");
}

TEST_F(BrowsingTest, ContentStreamsFromTheProgramIntoAFrame) {
  auto stream = std::make_unique<platform::TMemoryStream>();
  const std::string page = "<html><head><title>Streamed</title></head><body><p id=p>From a program stream</p></body></html>";
  stream->Write(page.data(), static_cast<int32_t>(page.size()));
  stream->Seek(0, platform::soBeginning);
  browser_->GetMainFrame()->LoadStream(std::move(stream), u"http://service.example/streamed");
  WaitIdle();
  Ref<ICefFrame> frame = browser_->GetMainFrame();
  EXPECT_EQ(frame->GetUrl(), u"http://service.example/streamed");
  EXPECT_TRUE(Contains(frame->GetText(), u"From a program stream"));

  // A file through the runtime's own reader ends in the same place.
  std::filesystem::path file = std::filesystem::temp_directory_path() / "qvn-browsing-test.html";
  std::ofstream(file) << "<title>From a file</title><p>File content</p>";
  frame->LoadFile(file.u16string(), u"http://service.example/file");
  WaitIdle();
  std::filesystem::remove(file);
  EXPECT_EQ(frame->GetUrl(), u"http://service.example/file");
  EXPECT_TRUE(Contains(frame->GetText(), u"File content"));
}

TEST_F(BrowsingTest, ContentStreamsFromTheRuntimeIntoTheProgram) {
  std::string bytes(100000, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i % 251);
  Ref<ICefStreamReader> reader = TCefStreamReaderRef::CreateForData(bytes.data(), static_cast<uint32_t>(bytes.size()));
  ASSERT_TRUE(reader);
  std::string read;
  char chunk[4096];
  while (!reader->Eof()) {
    uint32_t n = reader->Read(chunk, 1, sizeof chunk);
    ASSERT_GT(n, 0u);
    read.append(chunk, n);
  }
  EXPECT_EQ(read, bytes);
  EXPECT_EQ(reader->Tell(), static_cast<int32_t>(bytes.size()));
  EXPECT_EQ(reader->Read(chunk, 1, sizeof chunk), 0u);
}

}  // namespace
