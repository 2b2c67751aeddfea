// Documents and nodes as the program reads and edits them through their members: the
// page's parts, the tree walk, attributes, values, markup, addresses and the selection.

#include <gtest/gtest.h>

#include "standin_document/wire_objects.h"

namespace standin_tests {
namespace {

constexpr char16_t kTreePage[] =
    u"<!DOCTYPE html><html><head><title> 입찰\n  분석 </title><base href=\"/app/\"></head>"
    u"<body class=\"main\" data-x=\"1\"><div id=\"box\" title=\"상자\">Hello <b>world</b>!</div>"
    u"<input id=\"name\" value=\"kim\"><textarea id=\"memo\">note</textarea>"
    u"<select id=\"pick\"><option value=\"a\">A</option><option value=\"b\" selected>B</option></select>"
    u"<p id=\"empty\"></p></body></html>";
constexpr char16_t kPageUrl[] = u"http://service.example/bid/list.html";

using Node = Own<TCefDomNode>;

class DocumentTreeTest : public WireTest {
 protected:
  void SetUp() override {
    WireTest::SetUp();
    document_ = Adopt(control().standin_create_document(kTreePage, kPageUrl));
    ASSERT_NE(document_, nullptr);
  }
  void TearDown() override {
    document_.reset();
    WireTest::TearDown();
  }

  TCefDomDocument* doc() { return document_.get(); }
  Node ById(const std::u16string& id) {
    TCefString s = View(id);
    return Node(doc()->get_element_by_id(doc(), &s));
  }
  static std::u16string Attribute(TCefDomNode* node, const std::u16string& name) {
    TCefString s = View(name);
    return Text(node->get_element_attribute(node, &s));
  }
  static bool SetValue(TCefDomNode* node, const std::u16string& value) {
    TCefString s = View(value);
    return node->set_value(node, &s) != 0;
  }
  // Whether two nodes are the same; the second is handed over with a new reference.
  static bool Same(TCefDomNode* a, TCefDomNode* b) {
    b->base.add_ref(&b->base);
    return a->is_same(a, b) != 0;
  }

  Own<TCefDomDocument> document_;
};

TEST_F(DocumentTreeTest, ThePagesPartsAreFoundAndNamedAsBrowsersNameThem) {
  EXPECT_EQ(doc()->get_type(doc()), 1) << "an HTML document";
  EXPECT_EQ(Text(doc()->get_title(doc())), u"입찰 분석");
  Node root(doc()->get_document(doc()));
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->get_type(root.get()), 9);
  EXPECT_EQ(Text(root->get_name(root.get())), u"#document");
  EXPECT_EQ(root->get_parent(root.get()), nullptr);
  EXPECT_EQ(Text(root->get_element_tag_name(root.get())), u"(null)") << "not an element";

  Node body(doc()->get_body(doc()));
  Node head(doc()->get_head(doc()));
  ASSERT_NE(body, nullptr);
  ASSERT_NE(head, nullptr);
  EXPECT_EQ(Text(body->get_element_tag_name(body.get())), u"BODY");
  EXPECT_EQ(Text(body->get_name(body.get())), u"BODY");
  EXPECT_EQ(Text(head->get_element_tag_name(head.get())), u"HEAD");
  EXPECT_TRUE(body->is_element(body.get()));
  EXPECT_FALSE(body->is_text(body.get()));
  Node html(body->get_parent(body.get()));
  Node htmlParent(html->get_parent(html.get()));
  EXPECT_TRUE(Same(htmlParent.get(), root.get())) << "<html> is the document node's child";
}

TEST_F(DocumentTreeTest, ElementsByIdAreNewObjectsOverTheSameNode) {
  Node box = ById(u"box");
  Node again = ById(u"box");
  ASSERT_NE(box, nullptr);
  ASSERT_NE(again, nullptr);
  EXPECT_NE(box.get(), again.get()) << "every answer is a new object";
  EXPECT_EQ(control().standin_live_objects("DomNode"), 2);
  EXPECT_TRUE(Same(box.get(), again.get()));
  Node name = ById(u"name");
  EXPECT_FALSE(Same(box.get(), name.get()));
  EXPECT_EQ(box->is_same(box.get(), nullptr), 0);
  EXPECT_EQ(ById(u"missing"), nullptr);
  EXPECT_EQ(ById(u""), nullptr);
}

TEST_F(DocumentTreeTest, ChildrenAndSiblingsWalkTheTreeBothWays) {
  Node box = ById(u"box");
  ASSERT_TRUE(box->has_children(box.get()));
  Node first(box->get_first_child(box.get()));
  Node last(box->get_last_child(box.get()));
  EXPECT_TRUE(first->is_text(first.get()));
  EXPECT_EQ(first->get_type(first.get()), 3);
  EXPECT_EQ(Text(first->get_name(first.get())), u"#text");
  EXPECT_EQ(Text(first->get_value(first.get())), u"Hello ");
  EXPECT_EQ(Text(last->get_value(last.get())), u"!");
  EXPECT_EQ(first->get_previous_sibling(first.get()), nullptr);
  EXPECT_EQ(last->get_next_sibling(last.get()), nullptr);

  Node bold(first->get_next_sibling(first.get()));
  Node boldFromEnd(last->get_previous_sibling(last.get()));
  EXPECT_EQ(Text(bold->get_element_tag_name(bold.get())), u"B");
  EXPECT_TRUE(Same(bold.get(), boldFromEnd.get()));
  Node world(bold->get_first_child(bold.get()));
  EXPECT_EQ(Text(world->get_value(world.get())), u"world");
  EXPECT_FALSE(world->has_children(world.get()));
  EXPECT_EQ(world->get_first_child(world.get()), nullptr);
  Node up(world->get_parent(world.get()));
  EXPECT_TRUE(Same(up.get(), bold.get()));

  Node empty = ById(u"empty");
  EXPECT_FALSE(empty->has_children(empty.get()));
  EXPECT_EQ(empty->get_last_child(empty.get()), nullptr);
}

TEST_F(DocumentTreeTest, AttributesAreReadOneByOneAndAllIntoAStringMap) {
  Node body(doc()->get_body(doc()));
  EXPECT_TRUE(body->has_element_attributes(body.get()));
  TCefString dataX = View(u"DATA-X"), missing = View(u"missing");
  EXPECT_TRUE(body->has_element_attribute(body.get(), &dataX)) << "names in any case";
  EXPECT_FALSE(body->has_element_attribute(body.get(), &missing));
  EXPECT_EQ(Attribute(body.get(), u"class"), u"main");
  EXPECT_EQ(Attribute(body.get(), u"missing"), u"(null)");

  TCefStringMap map = api().cef_string_map_alloc();
  TCefString kept = View(u"kept"), one = View(u"1");
  api().cef_string_map_append(map, &kept, &one);
  body->get_element_attributes(body.get(), map);
  ASSERT_EQ(api().cef_string_map_size(map), 3) << "appended after what the map held";
  std::u16string pairs;
  for (int32_t i = 0; i < 3; ++i) {
    TCefString key{}, value{};
    api().cef_string_map_key(map, i, &key);
    api().cef_string_map_value(map, i, &value);
    pairs += std::u16string(key.str, key.length) + u"=" + std::u16string(value.str, value.length) + u";";
    api().cef_string_utf16_clear(&key);
    api().cef_string_utf16_clear(&value);
  }
  api().cef_string_map_free(map);
  EXPECT_EQ(pairs, u"kept=1;class=main;data-x=1;");

  Node empty = ById(u"empty");
  EXPECT_TRUE(empty->has_element_attributes(empty.get())) << "its id";
  Node box = ById(u"box");
  Node text(box->get_first_child(box.get()));
  EXPECT_FALSE(text->has_element_attributes(text.get()));
}

TEST_F(DocumentTreeTest, SettingAnAttributeShowsInMarkupAndFailsOnText) {
  Node box = ById(u"box");
  TCefString title = View(u"title"), value = View(u"새 \"값\""), none = View(u"");
  EXPECT_TRUE(box->set_element_attribute(box.get(), &title, &value));
  EXPECT_EQ(Attribute(box.get(), u"title"), u"새 \"값\"");
  EXPECT_FALSE(box->set_element_attribute(box.get(), &none, &value)) << "an attribute needs a name";
  EXPECT_EQ(Text(box->get_as_markup(box.get())),
            u"<div id=\"box\" title=\"새 &quot;값&quot;\">Hello <b>world</b>!</div>");
  Node text(box->get_first_child(box.get()));
  EXPECT_FALSE(text->set_element_attribute(text.get(), &title, &value));
  EXPECT_EQ(Text(text->get_as_markup(text.get())), u"Hello ");
}

TEST_F(DocumentTreeTest, InnerTextIsTheVisibleTextOfAnElement) {
  Node box = ById(u"box");
  EXPECT_EQ(Text(box->get_element_inner_text(box.get())), u"Hello world!");
  Node text(box->get_first_child(box.get()));
  EXPECT_EQ(Text(text->get_element_inner_text(text.get())), u"(null)") << "only elements have one";
  EXPECT_TRUE(SetValue(text.get(), u"Goodbye "));
  EXPECT_EQ(Text(box->get_element_inner_text(box.get())), u"Goodbye world!");
}

TEST_F(DocumentTreeTest, FormControlsHaveValuesAndOtherElementsNone) {
  Node input = ById(u"name"), memo = ById(u"memo"), pick = ById(u"pick"), box = ById(u"box");
  EXPECT_EQ(Text(input->get_value(input.get())), u"kim");
  EXPECT_EQ(Text(memo->get_value(memo.get())), u"note");
  EXPECT_EQ(Text(pick->get_value(pick.get())), u"b") << "the selected option";
  EXPECT_EQ(Text(box->get_value(box.get())), u"(null)");

  EXPECT_TRUE(SetValue(input.get(), u"lee"));
  EXPECT_EQ(Text(input->get_value(input.get())), u"lee");
  EXPECT_EQ(Attribute(input.get(), u"value"), u"lee");
  EXPECT_TRUE(SetValue(memo.get(), u"메모"));
  EXPECT_EQ(Text(memo->get_value(memo.get())), u"메모");
  EXPECT_TRUE(SetValue(pick.get(), u"a"));
  EXPECT_EQ(Text(pick->get_value(pick.get())), u"a");
  EXPECT_FALSE(SetValue(pick.get(), u"zzz")) << "no such option";
  EXPECT_EQ(Text(pick->get_value(pick.get())), u"a");
  EXPECT_FALSE(SetValue(box.get(), u"x"));
}

TEST_F(DocumentTreeTest, AddressesResolveAgainstTheBaseElement) {
  EXPECT_EQ(Text(doc()->get_base_url(doc())), u"http://service.example/app/");
  auto complete = [&](const std::u16string& partial) {
    TCefString s = View(partial);
    return Text(doc()->get_complete_url(doc(), &s));
  };
  EXPECT_EQ(complete(u"detail?id=3"), u"http://service.example/app/detail?id=3");
  EXPECT_EQ(complete(u"../x.html"), u"http://service.example/x.html");
  EXPECT_EQ(complete(u"/root"), u"http://service.example/root");
  EXPECT_EQ(complete(u"https://portal.example/a"), u"https://portal.example/a");

  Own<TCefDomDocument> plain = Adopt(control().standin_create_document(u"<p>x</p>", kPageUrl));
  EXPECT_EQ(Text(plain->get_base_url(plain.get())), kPageUrl) << "no <base>: the page's own address";
  TCefString s = View(u"next.html");
  EXPECT_EQ(Text(plain->get_complete_url(plain.get(), &s)), u"http://service.example/bid/next.html");
}

TEST_F(DocumentTreeTest, FocusIsOneOfTheDocumentsOwnNodes) {
  EXPECT_EQ(doc()->get_focused_node(doc()), nullptr);
  Node input = ById(u"name");
  ASSERT_EQ(control().standin_set_focus(doc(), input.get()), 1);
  Node focused(doc()->get_focused_node(doc()));
  ASSERT_NE(focused, nullptr);
  EXPECT_TRUE(Same(focused.get(), input.get()));

  Own<TCefDomDocument> other = Adopt(control().standin_create_document(u"<p id=\"p\">x</p>", kPageUrl));
  Node foreign(other->get_body(other.get()));
  EXPECT_EQ(control().standin_set_focus(doc(), foreign.get()), 0);
  EXPECT_EQ(control().standin_set_focus(doc(), nullptr), 1);
  EXPECT_EQ(doc()->get_focused_node(doc()), nullptr);
}

TEST_F(DocumentTreeTest, ASelectionIsReadAsTextAndAsMarkup) {
  EXPECT_FALSE(doc()->has_selection(doc()));
  EXPECT_EQ(doc()->get_selection_start_node(doc()), nullptr);
  EXPECT_EQ(Text(doc()->get_selection_as_text(doc())), u"(null)");

  Node box = ById(u"box");
  Node hello(box->get_first_child(box.get()));
  Node bold(hello->get_next_sibling(hello.get()));
  Node world(bold->get_first_child(bold.get()));
  ASSERT_EQ(control().standin_set_selection(doc(), hello.get(), 2, world.get(), 3), 1);
  EXPECT_TRUE(doc()->has_selection(doc()));
  EXPECT_EQ(doc()->get_selection_start_offset(doc()), 2);
  EXPECT_EQ(doc()->get_selection_end_offset(doc()), 3);
  Node start(doc()->get_selection_start_node(doc()));
  Node end(doc()->get_selection_end_node(doc()));
  EXPECT_TRUE(Same(start.get(), hello.get()));
  EXPECT_TRUE(Same(end.get(), world.get()));
  EXPECT_EQ(Text(doc()->get_selection_as_text(doc())), u"llo wor");
  EXPECT_EQ(Text(doc()->get_selection_as_markup(doc())), u"llo <b>wor</b>");

  // Child indexes of an element: the whole of the box's content.
  ASSERT_EQ(control().standin_set_selection(doc(), box.get(), 0, box.get(), 3), 1);
  EXPECT_EQ(Text(doc()->get_selection_as_text(doc())), u"Hello world!");
  EXPECT_EQ(Text(doc()->get_selection_as_markup(doc())), u"Hello <b>world</b>!");

  ASSERT_EQ(control().standin_set_selection(doc(), nullptr, 0, nullptr, 0), 1);
  EXPECT_FALSE(doc()->has_selection(doc()));
}

TEST_F(DocumentTreeTest, ANodesDocumentIsANewObjectOverTheSamePage) {
  Node box = ById(u"box");
  Own<TCefDomDocument> owner = Adopt(box->get_document(box.get()));
  ASSERT_NE(owner, nullptr);
  EXPECT_NE(owner.get(), doc());
  EXPECT_EQ(Text(owner->get_title(owner.get())), u"입찰 분석");
  // The page lives while any of its objects does.
  document_.reset();
  EXPECT_EQ(Text(box->get_element_tag_name(box.get())), u"DIV");
}

TEST_F(DocumentTreeTest, ADetachedDocumentsObjectsAnswerNeutralValues) {
  Node box = ById(u"box");
  ASSERT_EQ(control().standin_detach_document(doc()), 1);
  EXPECT_EQ(doc()->get_type(doc()), 0);
  EXPECT_EQ(doc()->get_body(doc()), nullptr);
  EXPECT_EQ(Text(doc()->get_title(doc())), u"(null)");
  EXPECT_EQ(ById(u"box"), nullptr);
  EXPECT_EQ(box->get_type(box.get()), 0);
  EXPECT_EQ(Text(box->get_name(box.get())), u"(null)");
  EXPECT_EQ(box->get_first_child(box.get()), nullptr);
  EXPECT_EQ(box->get_document(box.get()), nullptr);
  EXPECT_FALSE(SetValue(box.get(), u"x"));
}

TEST_F(DocumentTreeTest, ControlCallsRefuseWhatIsNoDocument) {
  Node box = ById(u"box");
  auto* notADocument = reinterpret_cast<TCefDomDocument*>(box.get());
  int errors = control().standin_error_count();
  EXPECT_EQ(control().standin_listener_count(notADocument), -1);
  EXPECT_EQ(control().standin_error_count(), errors + 1) << "a node passed as a document is reported";
  EXPECT_EQ(control().standin_dispatch_event(doc(), u"missing", u"click"), -1);
  EXPECT_EQ(control().standin_error_count(), errors + 1) << "a missing element is no misuse";
  control().standin_clear_errors();
}

}  // namespace
}  // namespace standin_tests
