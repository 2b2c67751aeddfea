#include "cef/ceflib/request.h"

#include <gtest/gtest.h>

#include <functional>

#include "cef/ceflib/string_map.h"
#include "fake_objects.h"

namespace {

using namespace cef;
using fakes::Answers;
using fakes::Calls;
using Log = std::vector<std::string>;

class RequestTest : public fakes::FakeTest {};

TEST_F(RequestTest, OperationsFollowTheRuntimesAlternationOfGettersAndSetters) {
  fakes::FakeRequest fake;
  Ref<ICefRequest> request = TCefRequestRef::UnWrap(fake.Hand());
  Ref<TCefStringMapHolder> map = base::MakeRef<TCefStringMapHolder>();
  const std::vector<std::pair<std::function<void()>, std::string>> cases = {
      {[&] { request->GetUrl(); }, "get_url"},
      {[&] { request->GetMethod(); }, "get_method"},
      {[&] { request->GetPostData(); }, "get_post_data"},
      {[&] { request->GetHeaderMap(*map); }, "get_header_map " + fakes::Ptr(map->GetHandle())},
      {[&] { request->SetUrl(u"https://example.com/"); }, "set_url \"https://example.com/\""},
      {[&] { request->SetMethod(u"POST"); }, "set_method \"POST\""},
      {[&] { request->SetHeaderMap(*map); }, "set_header_map " + fakes::Ptr(map->GetHandle())},
      {[&] { request->GetFlags(); }, "get_flags"},
      {[&] { request->SetFlags(6); }, "set_flags 6"},
      {[&] { request->GetFirstPartyForCookies(); }, "get_first_party_for_cookies"},
      {[&] { request->SetFirstPartyForCookies(u"https://a.example/"); }, "set_first_party_for_cookies \"https://a.example/\""},
  };
  for (const auto& [operation, expected] : cases) {
    Calls().clear();
    operation();
    EXPECT_EQ(Calls(), Log{expected});
  }
  Answers().integer = -3;
  EXPECT_EQ(request->GetFlags(), -3);
  request.reset();
  EXPECT_EQ(fake.refs, 1);
}

TEST_F(RequestTest, SetPostDataOfNullCallsNothingWhileAddElementOfNullPassesNull) {
  fakes::FakeRequest fakeRequest;
  fakes::FakePostData fakeData;
  Ref<ICefRequest> request = TCefRequestRef::UnWrap(fakeRequest.Hand());
  Ref<ICefPostData> data = TCefPostDataRef::UnWrap(fakeData.Hand());
  request->SetPostData(nullptr);
  EXPECT_TRUE(Calls().empty());
  Answers().integer = 0;
  EXPECT_EQ(data->AddElement(nullptr), 0);
  EXPECT_EQ(data->RemoveElement(nullptr), 0);
  request->SetPostData(data);
  EXPECT_EQ(Calls(), (Log{"add_element null", "remove_element null", "set_post_data " + fakes::Ptr(&fakeData.wire)}));
  EXPECT_EQ(fakeData.refs, 2) << "the runtime released the reference it was given";
}

TEST_F(RequestTest, AnUrlTheRuntimeReportsAsNullIsEmpty) {
  fakes::FakeRequest fake;
  Ref<ICefRequest> request = TCefRequestRef::UnWrap(fake.Hand());
  EXPECT_EQ(request->GetUrl(), u"");
  Answers().text = u"https://example.com/auth";
  EXPECT_EQ(request->GetUrl(), u"https://example.com/auth");
  EXPECT_EQ(request->GetMethod(), u"https://example.com/auth");
}

TEST_F(RequestTest, GetBytesPassesSizeAndBufferThroughAndAnswersTheRuntimesCount) {
  fakes::FakePostDataElement fake;
  Ref<ICefPostDataElement> element = TCefPostDataElementRef::UnWrap(fake.Hand());
  char buffer[4];
  Answers().integer = 99;  // more than the buffer holds: the wrapper does not check
  EXPECT_EQ(element->GetBytes(4, buffer), 99u);
  EXPECT_EQ(element->GetBytes(0, nullptr), 99u);
  const char bytes[] = "abc";
  element->SetToBytes(3, bytes);
  EXPECT_EQ(Calls(), (Log{"get_bytes 4 " + fakes::Ptr(buffer), "get_bytes 0 null", "set_to_bytes 3 " + fakes::Ptr(bytes)}));
}

TEST_F(RequestTest, PostDataElementsCountAndCrossWithTheirReferences) {
  fakes::FakePostData fakeData;
  fakes::FakePostDataElement fakeElement;
  Ref<ICefPostData> data = TCefPostDataRef::UnWrap(fakeData.Hand());
  Answers().integer = 2;
  EXPECT_EQ(data->GetCount(), 2u);
  Answers().object = fakeElement.Hand();
  Ref<ICefPostDataElement> element = data->GetElement(1);
  ASSERT_TRUE(element);
  EXPECT_FALSE(data->GetElement(5));
  Answers().integer = 1;
  EXPECT_EQ(data->RemoveElement(element), 1);
  data->RemoveElements();
  EXPECT_EQ(Calls(), (Log{"get_element_count", "get_element 1", "get_element 5",
                          "remove_element " + fakes::Ptr(&fakeElement.wire), "remove_elements"}));
  element.reset();
  EXPECT_EQ(fakeElement.refs, 1);
}

TEST_F(RequestTest, ARequestOfTheRuntimeKeepsWhatItIsGiven) {
  Ref<ICefRequest> request = TCefRequestRef::New();
  ASSERT_TRUE(request);
  request->SetUrl(u"https://example.com/bid?no=1");
  request->SetMethod(u"POST");
  request->SetFlags(3);
  request->SetFirstPartyForCookies(u"https://example.com/");
  EXPECT_EQ(request->GetUrl(), u"https://example.com/bid?no=1");
  EXPECT_EQ(request->GetMethod(), u"POST");
  EXPECT_EQ(request->GetFlags(), 3);
  EXPECT_EQ(request->GetFirstPartyForCookies(), u"https://example.com/");

  Ref<TCefStringMapHolder> headers = base::MakeRef<TCefStringMapHolder>();
  headers->Append(u"Referer", u"https://example.com/");
  headers->Append(u"Accept-Language", u"ko-KR");
  request->SetHeaderMap(*headers);
  Ref<TCefStringMapHolder> readBack = base::MakeRef<TCefStringMapHolder>();
  request->GetHeaderMap(*readBack);
  ASSERT_EQ(readBack->Size(), 2);
  EXPECT_EQ(readBack->Find(u"Accept-Language"), u"ko-KR");
}

TEST_F(RequestTest, PostDataOfTheRuntimeSurvivesASetOfNull) {
  Ref<ICefRequest> request = TCefRequestRef::New();
  Ref<ICefPostData> data = TCefPostDataRef::New();
  Ref<ICefPostDataElement> element = TCefPostDataElementRef::New();
  ASSERT_TRUE(request && data && element);
  element->SetToBytes(5, "bytes");
  EXPECT_NE(data->AddElement(element), 0);
  request->SetPostData(data);
  request->SetPostData(nullptr);
  Ref<ICefPostData> kept = request->GetPostData();
  ASSERT_TRUE(kept);
  ASSERT_EQ(kept->GetCount(), 1u);
  Ref<ICefPostDataElement> first = kept->GetElement(0);
  EXPECT_EQ(first->GetBytesCount(), 5u);
  char buffer[5];
  EXPECT_EQ(first->GetBytes(sizeof buffer, buffer), 5u);
  EXPECT_EQ(std::string(buffer, 5), "bytes");
  element->SetToFile(u"C:\\upload\\공고.hwp");
  EXPECT_EQ(element->GetFile(), u"C:\\upload\\공고.hwp");
}

TEST_F(RequestTest, AResponseReadsAndWritesThroughItsOwnMembers) {
  Ref<ICefResponse> response = TCefResponseRef::UnWrap(reinterpret_cast<TCefResponse*>(standin().standin_create_object("Response")));
  ASSERT_TRUE(response);
  response->SetStatus(404);
  response->SetStatusText(u"Not Found");
  response->SetMimeType(u"text/html");
  Ref<TCefStringMapHolder> headers = base::MakeRef<TCefStringMapHolder>();
  headers->Append(u"Content-Disposition", u"attachment; filename=\"a.pdf\"");
  response->SetHeaderMap(*headers);
  EXPECT_EQ(response->GetStatus(), 404);
  EXPECT_EQ(response->GetStatusText(), u"Not Found");
  EXPECT_EQ(response->GetMimeType(), u"text/html");
  EXPECT_EQ(response->GetHeader(u"Content-Disposition"), u"attachment; filename=\"a.pdf\"");
  EXPECT_EQ(response->GetHeader(u"Missing"), u"");
  Ref<TCefStringMapHolder> readBack = base::MakeRef<TCefStringMapHolder>();
  response->GetHeaderMap(*readBack);
  EXPECT_EQ(readBack->Key(0), u"Content-Disposition");
  EXPECT_FALSE(TCefResponseRef::UnWrap(nullptr));
}

class StringMapTest : public testing_support::StandinTest {};

TEST_F(StringMapTest, AMapKeepsItsPairsInOrderAndIsFreedWithItsHolder) {
  const testing_support::StandinControl& standin = testing_support::ProgramStandin();
  {
    Ref<TCefStringMapHolder> map = base::MakeRef<TCefStringMapHolder>();
    EXPECT_TRUE(base::interface_cast<ICefStringMap>(map));
    EXPECT_EQ(standin.standin_live_objects("StringMap"), 1);
    EXPECT_TRUE(map->Append(u"id", u"bid-1"));
    EXPECT_TRUE(map->Append(u"클래스", u""));
    EXPECT_TRUE(map->Append(u"id", u"second"));
    EXPECT_EQ(map->Size(), 3);
    EXPECT_EQ(map->Key(1), u"클래스");
    EXPECT_EQ(map->Value(2), u"second");
    EXPECT_EQ(map->Find(u"id"), u"bid-1") << "the first pair of a key";
    EXPECT_EQ(map->Find(u"클래스"), u"");
    EXPECT_EQ(map->Find(u"none"), std::nullopt);
    map->Clear();
    EXPECT_EQ(map->Size(), 0);
    EXPECT_EQ(standin.standin_live_objects("String"), 0);
  }
  EXPECT_EQ(standin.standin_live_objects("StringMap"), 0);
}

}  // namespace
