// Extensions in a new context. An extension's code may declare `native function NAME();`:
// the declaration is rewritten, on the same line, into a function that forwards its calls
// to the extension's handler through a trampoline. The code then runs inside
// `with (scope) { ... }`, where scope holds only the trampoline: functions made by the
// extension's code find it there, while its top-level `var`s still become globals and pages
// never see the trampoline. (Function declarations at the top level of an extension are
// hoisted out of that scope, so native declarations belong inside function expressions, as
// extensions write them.)

#include <string>
#include <string_view>

#include "runtime.h"
#include "script_natives.h"
#include "v8_contexts.h"

namespace standin::script {
namespace {

// The global that carries the scope while the extension's code starts; deleted right after.
constexpr char kScopeGlobal[] = "__standinExtensionScope__";
// The trampoline's name inside the scope.
constexpr char kTrampoline[] = "__standinNative__";
// The most arguments a native call takes.
constexpr uint32_t kMaxArguments = 1024;

bool IsIdentifierStart(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_' || c == u'$';
}
bool IsIdentifierPart(char16_t c) { return IsIdentifierStart(c) || (c >= u'0' && c <= u'9'); }
bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

// Reads `native function NAME ( ) ;` (the semicolon optional) at code[at]; answers the
// position after it, or npos when there is no such declaration there.
size_t ReadDeclaration(std::u16string_view code, size_t at, std::u16string& name) {
  auto blanks = [&](size_t i) {
    while (i < code.size() && IsBlank(code[i])) ++i;
    return i;
  };
  auto word = [&](size_t i, std::u16string_view w) {
    return code.substr(i, w.size()) == w && (i + w.size() >= code.size() || !IsIdentifierPart(code[i + w.size()]));
  };
  if (!word(at, u"native")) return std::u16string_view::npos;
  size_t i = blanks(at + 6);
  if (i == at + 6 || !word(i, u"function")) return std::u16string_view::npos;
  size_t start = blanks(i + 8);
  size_t end = start;
  while (end < code.size() && IsIdentifierPart(code[end])) ++end;
  if (start == i + 8 || end == start || !IsIdentifierStart(code[start])) return std::u16string_view::npos;
  i = blanks(end);
  if (i >= code.size() || code[i] != u'(') return std::u16string_view::npos;
  i = blanks(i + 1);
  if (i >= code.size() || code[i] != u')') return std::u16string_view::npos;
  size_t after = blanks(i + 1);
  name.assign(code.substr(start, end - start));
  return after < code.size() && code[after] == u';' ? after + 1 : i + 1;
}

// The end of a string literal, a template or a comment starting at i; i when none starts there.
size_t SkipLiteral(std::u16string_view code, size_t i) {
  char16_t c = code[i];
  if (c == u'"' || c == u'\'' || c == u'`') {
    for (size_t k = i + 1; k < code.size(); ++k) {
      if (code[k] == u'\\') ++k;
      else if (code[k] == c) return k + 1;
    }
    return code.size();
  }
  if (c == u'/' && i + 1 < code.size() && code[i + 1] == u'/') {
    size_t end = code.find(u'\n', i);
    return end == std::u16string_view::npos ? code.size() : end;
  }
  if (c == u'/' && i + 1 < code.size() && code[i + 1] == u'*') {
    size_t end = code.find(u"*/", i + 2);
    return end == std::u16string_view::npos ? code.size() : end + 2;
  }
  return i;
}

std::u16string Forwarder(const std::u16string& name) {
  return u"function " + name + u"() { return " + FromUtf8(kTrampoline) + u"(\"" + name + u"\", this, arguments); }";
}

// The extension's code with every native declaration replaced by its forwarder; the line
// breaks a declaration spanned follow it, so that lines keep their numbers.
std::u16string RewriteNativeDeclarations(std::u16string_view code) {
  std::u16string out;
  out.reserve(code.size());
  for (size_t i = 0; i < code.size();) {
    if (size_t end = SkipLiteral(code, i); end != i) {
      out.append(code.substr(i, end - i));
      i = end;
      continue;
    }
    std::u16string name;
    bool boundary = i == 0 || !IsIdentifierPart(code[i - 1]);
    if (size_t end = boundary ? ReadDeclaration(code, i, name) : std::u16string_view::npos;
        end != std::u16string_view::npos) {
      out += Forwarder(name);
      for (size_t k = i; k < end; ++k)
        if (code[k] == u'\n') out.push_back(u'\n');
      i = end;
      continue;
    }
    out.push_back(code[i++]);
  }
  return out;
}

// The arguments object at 2 spread onto the stack from 3; answers their count.
duk_idx_t SpreadArguments(duk_context* ctx) {
  duk_get_prop_string(ctx, 2, "length");
  duk_uint_t count = duk_is_number(ctx, -1) ? duk_get_uint(ctx, -1) : 0;
  duk_pop(ctx);
  if (count > kMaxArguments) count = kMaxArguments;
  duk_require_stack(ctx, static_cast<duk_idx_t>(count) + 8);
  for (duk_uint_t i = 0; i < count; ++i) duk_get_prop_index(ctx, 2, i);
  return static_cast<duk_idx_t>(count);
}

bool CallExtensionHandler(duk_context* ctx, int index, duk_idx_t count) {
  std::u16string name = TextAt(ctx, 0);
  return CallHandler(ctx, ExtensionHandler(static_cast<size_t>(index)), name, 1, 3, count);
}

// (name, receiver, arguments): the forwarders' way into the extension's handler, whose
// index is the function's magic.
duk_ret_t ExtensionTrampoline(duk_context* ctx) {
  duk_set_top(ctx, 3);
  duk_idx_t count = SpreadArguments(ctx);
  if (CallExtensionHandler(ctx, duk_get_current_magic(ctx), count)) ThrowMessageAtTop(ctx);
  return 1;
}

// Puts (or takes away, for index -1) the global carrying the scope of extension index.
bool SetScopeGlobal(duk_context* thread, int index) {
  return Protected(thread, 0, 0, [index](duk_context* c) {
    duk_push_global_object(c);
    if (index < 0) {
      duk_del_prop_string(c, -1, kScopeGlobal);
      return 0;
    }
    duk_push_string(c, kScopeGlobal);
    duk_push_bare_object(c);
    duk_push_c_function(c, &ExtensionTrampoline, 3);
    duk_set_magic(c, -1, index);
    duk_put_prop_string(c, -2, kTrampoline);
    duk_def_prop(c, -3, DUK_DEFPROP_HAVE_VALUE | DUK_DEFPROP_SET_CONFIGURABLE);
    return 0;
  });
}

}  // namespace

void RunExtensions(ScriptContext& context) {
  std::vector<std::pair<std::u16string, std::u16string>> extensions = Extensions();
  // The trampoline's index is a 16-bit magic.
  for (size_t i = 0; i < extensions.size() && i <= 0x7FFF && context.attached(); ++i) {
    duk_context* thread = context.thread();
    if (!thread || !SetScopeGlobal(thread, static_cast<int>(i))) return;
    std::u16string code =
        u"with (" + FromUtf8(kScopeGlobal) + u") {" + RewriteNativeDeclarations(extensions[i].second) + u"\n}";
    context.Run(code, extensions[i].first, 1);
    if (context.thread()) SetScopeGlobal(context.thread(), -1);
  }
}

}  // namespace standin::script
