// Pop-ups, loads and requests: what each entry hands the control and what goes back.

#include "cef/ceflib/streams.h"
#include "runtime_side.h"

namespace dispatch_tests {
namespace {

class NavigationTest : public SceneTest {
 protected:
  TCefLifeSpanHandler* lifeSpan = handlers.Get<TCefLifeSpanHandler>();
  TCefLoadHandler* load = handlers.Get<TCefLoadHandler>();
  TCefRequestHandler* request = handlers.Get<TCefRequestHandler>();

  TCefBool Popup() {
    return lifeSpan->on_before_popup(lifeSpan, args.Browser(), &args.features, &args.window, args.url.get(),
                                     &args.clientSlot, &args.settings);
  }
  TCefBool ResourceLoad() {
    return request->on_before_resource_load(request, args.Browser(), RuntimeArgs::Hand(args.request),
                                            args.redirectUrl.get(), &args.streamSlot,
                                            RuntimeArgs::Hand(args.response), 0x40);
  }
  TCefBool Download(int64_t contentLength) {
    RuntimeString mime(u"application/pdf"), file(u"공고문.pdf");
    return request->get_download_handler(request, args.Browser(), mime.get(), file.get(), contentLength,
                                         &args.downloadSlot);
  }
  TCefBool Credentials() {
    RuntimeString host(u"proxy.example"), realm(u"사내망"), scheme(u"basic");
    return request->get_auth_credentials(request, args.Browser(), 1, host.get(), 8080, realm.get(), scheme.get(),
                                         args.username.get(), args.password.get());
  }
};

char g_bytes[] = "data";

// A download handler that counts its instances.
class CountedDownload : public cef::TCefDownloadHandlerOwn {
 public:
  explicit CountedDownload(int& alive) : alive_(alive) { ++alive_; }
  ~CountedDownload() override { --alive_; }
  int32_t ReceivedData(void*, int32_t dataSize) override { return dataSize; }
  void Complete() override {}

 private:
  int& alive_;
};

TEST_F(NavigationTest, APopupWithNoEventGetsTheControlsSettingsAndKeepsItsUrlAndClient) {
  const int32_t clientRefs = client->RefCount();
  EXPECT_EQ(Popup(), 0);
  EXPECT_EQ(events->calls,
            (Calls{"GetSettings " + Ptr(&args.settings),
                   "doOnBeforePopup " + Browser() + " " + Ptr(&args.features) + " " + Ptr(&args.window) +
                       " \"http://service.example/popup\" " + Ptr(ClientWire())}));
  EXPECT_EQ(args.url.Text(), u"http://service.example/popup");
  EXPECT_EQ(args.clientSlot, ClientWire());
  EXPECT_EQ(client->RefCount(), clientRefs) << "one reference added, the incoming one released";
  EXPECT_EQ(args.settings.developer_tools_disabled, 1);
  EXPECT_EQ(args.settings.javascript_disabled, 0);
  EXPECT_EQ(args.settings.default_encoding.str, events->defaultEncoding.data()) << "the control's own text, borrowed";
  EXPECT_EQ(args.settings.size, sizeof(TCefBrowserSettings));
  EXPECT_TRUE(args.Balanced());
}

TEST_F(NavigationTest, APopupEventReplacesTheUrlAndTheClient) {
  Ref<cef::TCefClientOwn> other = base::MakeRef<cef::TCefClientOwn>();
  const int32_t clientRefs = client->RefCount();
  events->answer = true;
  events->texts["url"] = u"http://service.example/other";
  events->objects["client"] = other;
  const int32_t otherRefs = other->RefCount();
  EXPECT_EQ(Popup(), 1);
  EXPECT_EQ(args.url.Text(), u"http://service.example/other");
  EXPECT_EQ(args.clientSlot, other->Struct<TCefClient>());
  EXPECT_EQ(other->RefCount(), otherRefs + 1) << "one reference for the runtime";
  EXPECT_EQ(client->RefCount(), clientRefs - 1) << "the incoming reference was released";
  fakes::Release(std::exchange(args.clientSlot, nullptr));
  EXPECT_EQ(other->RefCount(), otherRefs);
}

TEST_F(NavigationTest, APopupEventThatDropsTheClientLeavesTheSlotNull) {
  events->objects["client"] = nullptr;
  EXPECT_EQ(Popup(), 0);
  EXPECT_EQ(args.clientSlot, nullptr);
}

TEST_F(NavigationTest, LoadEndPassesTheStatusAndAnswersNothing) {
  events->answer = true;
  load->on_load_end(load, args.Browser(), args.Frame(), 404);
  EXPECT_EQ(events->calls, Calls{"doOnLoadEnd " + Browser() + " " + Frame() + " 404"});
}

TEST_F(NavigationTest, ALoadErrorWithNoEventLeavesTheErrorTextUntouched) {
  RuntimeString failed(u"http://service.example/missing");
  EXPECT_EQ(load->on_load_error(load, args.Browser(), args.Frame(), -105, failed.get(), args.errorText.get()), 0);
  EXPECT_EQ(events->calls, Calls{"doOnLoadError " + Browser() + " " + Frame() +
                                 " -105 \"http://service.example/missing\" \"net::ERR_FAILED\""});
  EXPECT_TRUE(args.errorText.Untouched());
}

TEST_F(NavigationTest, ALoadErrorAnsweredTrueSetsTheEventsErrorText) {
  events->answer = true;
  events->texts["errorText"] = u"<p>연결할 수 없습니다</p>";
  EXPECT_EQ(load->on_load_error(load, args.Browser(), args.Frame(), -105, nullptr, args.errorText.get()), 1);
  EXPECT_EQ(args.errorText.Text(), u"<p>연결할 수 없습니다</p>");
  EXPECT_NE(events->calls.at(0).find(" -105 \"\" "), std::string::npos) << "a null URL reads as empty";
}

TEST_F(NavigationTest, BeforeBrowseWrapsTheRequestAndReadsTheRedirectFlag) {
  events->answer = true;
  EXPECT_EQ(request->on_before_browse(request, args.Browser(), args.Frame(), RuntimeArgs::Hand(args.request),
                                      NAVTYPE_FORMRESUBMITTED, 5),
            1);
  EXPECT_EQ(events->calls,
            Calls{"doOnBeforeBrowse " + Browser() + " " + Frame() + " " + Ptr(args.request) + " 4 true"});
  EXPECT_TRUE(args.Balanced());
}

TEST_F(NavigationTest, AResourceLoadAnsweredTrueWritesNothingBackWhateverTheEventChanged) {
  events->answer = true;
  events->texts["redirectUrl"] = u"http://elsewhere.example/";
  events->objects["resourceStream"] = cef::TCefStreamReaderRef::CreateForData(g_bytes, 4);
  EXPECT_EQ(ResourceLoad(), 1);
  EXPECT_TRUE(args.redirectUrl.Untouched());
  EXPECT_EQ(args.streamSlot, nullptr);
  events->objects.clear();
}

TEST_F(NavigationTest, AResourceLoadAnsweredTrueReleasesTheIncomingStreamButLeavesItsSlot) {
  args.FillObjectSlots();
  events->answer = true;
  EXPECT_EQ(ResourceLoad(), 1);
  EXPECT_EQ(args.streamSlot, args.stream);
  EXPECT_EQ(standin().standin_refcount(&args.stream->base), 1) << "the slot's reference was taken over";
  args.streamSlot = nullptr;
}

TEST_F(NavigationTest, AResourceLoadAnsweredFalseWithAnEmptyRedirectLeavesItAndStoresNoStream) {
  EXPECT_EQ(ResourceLoad(), 0);
  EXPECT_EQ(events->calls, Calls{"doOnBeforeResourceLoad " + Browser() + " " + Ptr(args.request) + " \"\" null " +
                                 Ptr(args.response) + " 64"});
  EXPECT_TRUE(args.redirectUrl.Untouched());
  EXPECT_EQ(args.streamSlot, nullptr);
  EXPECT_TRUE(args.Balanced());
}

TEST_F(NavigationTest, AResourceLoadAnsweredFalseHandsBackTheRedirectAndTheEventsStream) {
  Ref<cef::ICefStreamReader> reader = cef::TCefStreamReaderRef::CreateForData(g_bytes, 4);
  TCefBase* readerWire = reader->Wrap();
  fakes::Release(readerWire);
  args.FillObjectSlots();
  events->texts["redirectUrl"] = u"http://service.example/moved";
  events->objects["resourceStream"] = reader;
  EXPECT_EQ(ResourceLoad(), 0);
  EXPECT_NE(events->calls.at(0).find(" " + Ptr(args.stream) + " "), std::string::npos) << "the incoming stream";
  EXPECT_EQ(args.redirectUrl.Text(), u"http://service.example/moved");
  EXPECT_EQ(static_cast<void*>(args.streamSlot), readerWire);
  EXPECT_EQ(readerWire->get_refct(readerWire), 2) << "the program's wrapper and the runtime's slot";
  events->objects.clear();
  reader = nullptr;
  EXPECT_TRUE(args.Balanced()) << "the incoming stream's reference was released";
}

TEST_F(NavigationTest, AResourceLoadKeepsTheIncomingStreamWhenTheEventLeavesIt) {
  args.FillObjectSlots();
  EXPECT_EQ(ResourceLoad(), 0);
  EXPECT_EQ(args.streamSlot, args.stream);
  EXPECT_TRUE(args.Balanced()) << "the slot holds one reference";
}

TEST_F(NavigationTest, AResourceResponseAlwaysStoresTheFilterTheEventLeft) {
  args.FillObjectSlots();
  RuntimeString url(u"http://service.example/list");
  events->objects["filter"] = nullptr;
  request->on_resource_response(request, args.Browser(), url.get(), RuntimeArgs::Hand(args.response),
                                &args.filterSlot);
  EXPECT_EQ(events->calls, Calls{"doOnResourceResponse " + Browser() + " \"http://service.example/list\" " +
                                 Ptr(args.response) + " " + Ptr(args.filter)});
  EXPECT_EQ(args.filterSlot, nullptr);
  EXPECT_TRUE(args.Balanced()) << "the incoming filter's reference was released";
}

TEST_F(NavigationTest, ProtocolExecutionWritesTheFlagBackNormalised) {
  RuntimeString url(u"mailto:bid@service.example");
  EXPECT_EQ(request->on_protocol_execution(request, args.Browser(), url.get(), &args.allow), 0);
  EXPECT_EQ(args.allow, 1) << "7 came in as true and goes back as 1";
  EXPECT_EQ(events->calls, Calls{"doOnProtocolExecution " + Browser() + " \"mailto:bid@service.example\" true"});
  events->flags["AllowOsExecution"] = false;
  events->answer = true;
  EXPECT_EQ(request->on_protocol_execution(request, args.Browser(), url.get(), &args.allow), 1);
  EXPECT_EQ(args.allow, 0);
}

TEST_F(NavigationTest, ADownloadWithNoEventStoresNullWhateverTheSlotHeld) {
  EXPECT_EQ(Download(1024), 0);
  EXPECT_EQ(args.downloadSlot, nullptr);
  EXPECT_EQ(events->calls,
            Calls{"doOnGetDownloadHandler " + Browser() + " \"application/pdf\" \"공고문.pdf\" 1024 null"});
}

TEST_F(NavigationTest, ADownloadHandsTheEventsHandlerOverWithTheFullLength) {
  int alive = 0;
  events->answer = true;
  events->objects["handler"] = base::MakeRef<CountedDownload>(alive);
  const int64_t length = int64_t{0x1'2345'6789};
  EXPECT_EQ(Download(length), 1);
  EXPECT_NE(events->calls.at(0).find(" 4886718345 "), std::string::npos) << events->calls.at(0);
  ASSERT_NE(args.downloadSlot, nullptr);
  events->objects.clear();
  EXPECT_EQ(alive, 1) << "the runtime's reference keeps the handler";
  EXPECT_EQ(args.downloadSlot->received_data(args.downloadSlot, nullptr, 512), 512);
  fakes::Release(std::exchange(args.downloadSlot, nullptr));
  EXPECT_EQ(alive, 0);
}

TEST_F(NavigationTest, CredentialsReachTheControlWithThePortAheadOfTheHost) {
  EXPECT_EQ(Credentials(), 0);
  EXPECT_EQ(events->calls, Calls{"doOnAuthCredentials " + Browser() +
                                 " true 8080 \"proxy.example\" \"사내망\" \"basic\" \"kim\" \"secret\""});
  EXPECT_TRUE(args.username.Untouched());
  EXPECT_TRUE(args.password.Untouched());
}

TEST_F(NavigationTest, CredentialsAnsweredTrueWithAnEmptyUserNameEmptyTheRuntimesString) {
  events->answer = true;
  events->texts["username"] = u"";
  events->texts["password"] = u"비밀";
  EXPECT_EQ(Credentials(), 1);
  EXPECT_EQ(args.username.Text(), u"");
  EXPECT_EQ(args.password.Text(), u"비밀");
}

TEST_F(NavigationTest, CredentialsAnsweredFalseWriteNothingBackWhateverTheEventChanged) {
  events->texts["username"] = u"lee";
  EXPECT_EQ(Credentials(), 0);
  EXPECT_TRUE(args.username.Untouched());
  EXPECT_TRUE(args.password.Untouched());
}

}  // namespace
}  // namespace dispatch_tests
