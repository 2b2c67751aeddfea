#pragma once
// The stand-in's DOM objects: documents, nodes and events over a frame's document tree,
// and the event listeners the program adds to nodes.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "html.h"
#include "standin.h"

namespace standin::dom {

// A frame's document as its DOM objects share it. The frame keeps it while the page is
// shown; document, node and event objects keep it alive while the program holds them.
struct DocumentState {
  std::unique_ptr<html::Node> root;  // the #document node
  std::u16string url;                // the page's address: the base of complete URLs
  html::Node* focused = nullptr;
  struct Selection {
    html::Node* start = nullptr;
    int32_t startOffset = 0;
    html::Node* end = nullptr;
    int32_t endOffset = 0;
  } selection;
  struct Listener {
    html::Node* node;
    std::u16string type;
    Held listener;  // the program's TCefDomEventListener
    bool useCapture;
  };
  std::vector<Listener> listeners;
  // Set once the frame has moved on to another page or closed: listeners are released,
  // and no event reaches the program any more.
  bool detached = false;

  // Releases every listener; called when the frame leaves the page and at shutdown.
  void Detach() noexcept;
};

// A new document object over state, with one reference for the receiver.
TCefDomDocument* NewDocument(std::shared_ptr<DocumentState> state);

// Dispatches an event of that type at target through the capture, target and bubble
// phases, calling every matching listener's handle_event with a new event object. The
// event bubbles and can be cancelled. Answers the number of listener calls made.
int Dispatch(const std::shared_ptr<DocumentState>& state, html::Node* target, std::u16string_view type);

}  // namespace standin::dom
