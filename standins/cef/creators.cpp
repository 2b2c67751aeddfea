// The creator exports of requests, post data, streams, and of the objects the stand-in
// does not build (they answer null, releasing the program references that came with their
// arguments). Script values and contexts have theirs beside them (v8_values.cpp,
// v8_contexts.cpp).

#include "requests.h"
#include "runtime.h"
#include "streams.h"

using namespace standin;

TCefRequest* cef_request_create() {
  if (Enter("cef_request_create")) return nullptr;
  return Create<Request>()->wire();
}

TCefPostData* cef_post_data_create() {
  if (Enter("cef_post_data_create")) return nullptr;
  return Create<PostData>()->wire();
}

TCefPostDataElement* cef_post_data_element_create() {
  if (Enter("cef_post_data_element_create")) return nullptr;
  return Create<PostDataElement>()->wire();
}

TCefStreamReader* cef_stream_reader_create_for_file(const TCefString* fileName) {
  if (Enter("cef_stream_reader_create_for_file")) return nullptr;
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(Read(fileName), bytes)) return nullptr;
  return Create<StreamReader>(std::move(bytes))->wire();
}

TCefStreamReader* cef_stream_reader_create_for_data(void* data, uint32_t size) {
  if (Enter("cef_stream_reader_create_for_data")) return nullptr;
  auto* bytes = static_cast<const uint8_t*>(data);
  return Create<StreamReader>(std::vector<uint8_t>(bytes, bytes + (bytes ? size : 0)))->wire();
}

TCefStreamReader* cef_stream_reader_create_for_handler(TCefReadHandler* handler) {
  Held held(handler, "read handler");
  if (Enter("cef_stream_reader_create_for_handler") || !held) return nullptr;
  return Create<StreamReader>(std::move(held))->wire();
}

// Writers present the stand-in's own writer structure, whose header is the contract's.
TCefStreamWriter* cef_stream_writer_create_for_file(const TCefString* fileName) {
  if (Enter("cef_stream_writer_create_for_file")) return nullptr;
  std::unique_ptr<ByteSink> sink = FileSink(Read(fileName));
  if (!sink) return nullptr;
  return reinterpret_cast<TCefStreamWriter*>(Create<StreamWriter>(std::move(sink))->wire());
}

TCefStreamWriter* cef_stream_writer_create_for_handler(TCefWriteHandler* handler) {
  Held held(handler, "write handler");
  if (Enter("cef_stream_writer_create_for_handler") || !held) return nullptr;
  return reinterpret_cast<TCefStreamWriter*>(Create<StreamWriter>(HandlerSink(std::move(held)))->wire());
}

TCefWebUrlRequest* cef_web_urlrequest_create(TCefRequest* request, TCefWebUrlRequestClient* client) {
  ReleaseArgument(request, "request");
  ReleaseArgument(client, "web request client");
  Enter("cef_web_urlrequest_create");
  return nullptr;
}

TCefXmlReader* cef_xml_reader_create(TCefStreamReader* stream, int32_t, const TCefString*) {
  ReleaseArgument(stream, "stream");
  Enter("cef_xml_reader_create");
  return nullptr;
}

#ifndef STANDIN_WITHOUT_ZIP_READER
TCefZipReader* cef_zip_reader_create(TCefStreamReader* stream) {
  ReleaseArgument(stream, "stream");
  Enter("cef_zip_reader_create");
  return nullptr;
}
#endif
