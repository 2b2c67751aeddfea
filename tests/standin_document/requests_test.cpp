// Requests, post data and responses keep what the program sets, headers round-trip
// through string maps, and elements live as long as something holds them.

#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "standin_document/wire_objects.h"

namespace standin_tests {
namespace {

using Pairs = std::vector<std::pair<std::u16string, std::u16string>>;

class RequestsTest : public WireTest {
 protected:
  TCefStringMap MapOf(const Pairs& pairs) {
    TCefStringMap map = api().cef_string_map_alloc();
    for (auto& [key, value] : pairs) {
      TCefString k = View(key), v = View(value);
      api().cef_string_map_append(map, &k, &v);
    }
    return map;
  }
  Pairs Read(TCefStringMap map) {
    Pairs pairs;
    for (int32_t i = 0, n = api().cef_string_map_size(map); i < n; ++i) {
      TCefString key{}, value{};
      api().cef_string_map_key(map, i, &key);
      api().cef_string_map_value(map, i, &value);
      pairs.emplace_back(std::u16string(key.str, key.length), std::u16string(value.str, value.length));
      api().cef_string_utf16_clear(&key);
      api().cef_string_utf16_clear(&value);
    }
    return pairs;
  }
  Own<TCefPostDataElement> Element(const char* bytes) {
    Own<TCefPostDataElement> e(api().cef_post_data_element_create());
    e->set_to_bytes(e.get(), static_cast<uint32_t>(std::strlen(bytes)), bytes);
    return e;
  }
  template <class W>
  static W* Handed(const Own<W>& owned) {
    owned->base.add_ref(&owned->base);
    return owned.get();
  }
};

TEST_F(RequestsTest, HeadersRoundTripThroughStringMapsInOrder) {
  const Pairs headers = {{u"Accept", u"text/html"}, {u"X-Bid", u"공고 1"}, {u"Accept", u"*/*"}};
  Own<TCefRequest> request(api().cef_request_create());
  TCefStringMap in = MapOf(headers);
  request->set_header_map(request.get(), in);
  api().cef_string_map_free(in);
  TCefStringMap out = MapOf({{u"kept", u"1"}});
  request->get_header_map(request.get(), out);
  Pairs expected = {{u"kept", u"1"}};
  expected.insert(expected.end(), headers.begin(), headers.end());
  EXPECT_EQ(Read(out), expected);
  api().cef_string_map_free(out);

  Own<TCefResponse> response(reinterpret_cast<TCefResponse*>(control().standin_create_object("Response")));
  TCefStringMap responseHeaders = MapOf({{u"Content-Type", u"text/html"}, {u"Set-Cookie", u"a=1"}});
  response->set_header_map(response.get(), responseHeaders);
  api().cef_string_map_free(responseHeaders);
  std::u16string lower = u"content-type", missing = u"Location";
  TCefString l = View(lower), m = View(missing);
  EXPECT_EQ(Text(response->get_header(response.get(), &l)), u"text/html") << "header names in any case";
  EXPECT_EQ(response->get_header(response.get(), &m), nullptr);
}

TEST_F(RequestsTest, PostDataKeepsItsElementsWhileTheRequestHoldsIt) {
  Own<TCefRequest> request(api().cef_request_create());
  {
    Own<TCefPostData> data(api().cef_post_data_create());
    auto first = Element("name=kim"), second = Element("bid=1");
    EXPECT_EQ(data->add_element(data.get(), Handed(first)), 1);
    EXPECT_EQ(data->add_element(data.get(), Handed(second)), 1);
    request->set_post_data(request.get(), Handed(data));
  }
  EXPECT_EQ(control().standin_live_objects("PostDataElement"), 2) << "held by the post data alone";
  Own<TCefPostData> data(request->get_post_data(request.get()));
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data->get_element_count(data.get()), 2u);
  Own<TCefPostDataElement> second(data->get_element(data.get(), 1));
  char buffer[16] = {};
  EXPECT_EQ(second->get_bytes(second.get(), sizeof buffer, buffer), 5u);
  EXPECT_EQ(std::string(buffer, 5), "bid=1");
  EXPECT_EQ(data->get_element(data.get(), 2), nullptr);
  EXPECT_EQ(data->remove_element(data.get(), Handed(second)), 1);
  EXPECT_EQ(data->get_element_count(data.get()), 1u);
  EXPECT_EQ(data->remove_element(data.get(), Handed(second)), 0) << "no longer in the list";
  EXPECT_EQ(second->base.get_refct(&second->base), 1) << "both arguments' references were released";
}

TEST_F(RequestsTest, ARequestWithoutPostDataAnswersNull) {
  Own<TCefRequest> request(api().cef_request_create());
  EXPECT_EQ(request->get_post_data(request.get()), nullptr);
  EXPECT_EQ(Text(request->get_method(request.get())), u"GET");
  EXPECT_EQ(Text(request->get_url(request.get())), u"");
}

}  // namespace
}  // namespace standin_tests
