// Links and form submissions: the navigations a page starts by itself.

#include "page_actions.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "browsers.h"
#include "scripts.h"

namespace standin {
namespace {

std::u16string Lower(const std::u16string* text) {
  std::u16string lower = text ? *text : std::u16string();
  for (char16_t& c : lower)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  return lower;
}

// The nearest element from node upwards with that tag.
html::Node* Enclosing(html::Node* node, std::u16string_view tag) {
  while (node && !(node->IsElement() && node->name == tag)) node = node->parent;
  return node;
}

std::u16string Resolve(const Frame& frame, const std::u16string& address) {
  return NormalizeAddress(FromUtf8(net::ResolveUrl(ToUtf8(frame.page.url), ToUtf8(address))));
}

// application/x-www-form-urlencoded, from UTF-8.
std::string Encode(std::u16string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : ToUtf8(text)) {
    bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '*' ||
                 c == '-' || c == '.' || c == '_';
    if (plain) out += static_cast<char>(c);
    else if (c == ' ') out += '+';
    else out += {'%', kHex[c >> 4], kHex[c & 15]};
  }
  return out;
}

bool IsSubmitter(const html::Node& element) {
  std::u16string type = Lower(element.Attribute(u"type"));
  if (element.name == u"button") return type.empty() || type == u"submit";
  return element.name == u"input" && (type == u"submit" || type == u"image");
}

// The name and value of a control that takes part in the submission, if it does.
bool Entry(const html::Node& element, const html::Node* submitter, std::pair<std::u16string, std::u16string>& entry) {
  const std::u16string* name = element.Attribute(u"name");
  if (!name || name->empty()) return false;
  std::u16string type = Lower(element.Attribute(u"type"));
  const std::u16string* value = element.Attribute(u"value");
  if (element.name == u"textarea") {
    entry = {*name, html::InnerText(element)};
    return true;
  }
  bool button = element.name == u"button" || type == u"submit" || type == u"image" || type == u"reset" || type == u"button";
  if (element.name != u"input" && element.name != u"button") return false;
  if (button && &element != submitter) return false;
  if ((type == u"checkbox" || type == u"radio") && !element.Attribute(u"checked")) return false;
  entry = {*name, value ? *value : (type == u"checkbox" || type == u"radio" ? u"on" : u"")};
  return true;
}

void CollectEntries(const html::Node& node, const html::Node* submitter, std::string& data) {
  for (const auto& child : node.children) {
    std::pair<std::u16string, std::u16string> entry;
    if (child->IsElement() && Entry(*child, submitter, entry))
      data += (data.empty() ? "" : "&") + Encode(entry.first) + "=" + Encode(entry.second);
    CollectEntries(*child, submitter, data);
  }
}

void Submit(Frame& frame, const html::Node& form, const html::Node* submitter) {
  std::string data;
  CollectEntries(form, submitter, data);
  const std::u16string* action = form.Attribute(u"action");
  LoadParams params;
  params.trigger = LoadParams::Trigger::Form;
  params.url = Resolve(frame, action && !action->empty() ? *action : frame.page.url);
  if (Lower(form.Attribute(u"method")) == u"post") {
    params.method = "POST";
    params.body.assign(data.begin(), data.end());
    params.headers.emplace_back("Content-Type", "application/x-www-form-urlencoded");
  } else {
    params.url = params.url.substr(0, params.url.find_first_of(u"?#")) + u"?" + FromUtf8(data);
  }
  StartLoad(frame, std::move(params), NavigationKind::New);
}

}  // namespace

bool FollowDefaultAction(Frame& frame, html::Node& target, std::u16string_view type) {
  if (!frame.browser() || frame.browser()->closed()) return false;
  if (type == u"submit") {
    html::Node* form = Enclosing(&target, u"form");
    if (form) Submit(frame, *form, nullptr);
    return form != nullptr;
  }
  if (type != u"click") return false;
  html::Node* link = Enclosing(&target, u"a");
  if (const std::u16string* href = link ? link->Attribute(u"href") : nullptr) {
    LoadParams params;
    params.trigger = LoadParams::Trigger::Link;
    params.url = Resolve(frame, *href);
    StartLoad(frame, std::move(params), NavigationKind::New);
    return true;
  }
  html::Node* form = IsSubmitter(target) ? Enclosing(&target, u"form") : nullptr;
  if (form) Submit(frame, *form, &target);
  return form != nullptr;
}

int DispatchUserEvent(Frame& frame, html::Node& target, std::u16string_view type) {
  // Our own reference: a listener may make the frame let go of the document.
  std::shared_ptr<dom::DocumentState> state = frame.page.document;
  int calls = dom::Dispatch(state, &target, type);
  if (frame.page.document != state) return calls;
  bool cancelled = script::RunHandlerAttributes(frame, target, type);
  if (!cancelled && frame.page.document == state) FollowDefaultAction(frame, target, type);
  return calls;
}

}  // namespace standin
