#include "library/method_collection.h"

#include <pugixml.hpp>

#include <fstream>
#include <sstream>

#include "ringing/text.h"

namespace clangor {

namespace {

// Element names without a namespace prefix, as collections may be written
// with or without one.
std::string_view LocalName(const pugi::xml_node& node) {
  std::string_view name = node.name();
  const auto colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

pugi::xml_node Child(const pugi::xml_node& node, std::string_view name) {
  for (const pugi::xml_node& child : node.children())
    if (child.type() == pugi::node_element && LocalName(child) == name) return child;
  return {};
}

// An element's text with every line break and tab made a blank, normalised.
std::string TextOf(const pugi::xml_node& node) {
  std::string text = node.text().as_string();
  for (char& c : text)
    if (c == '\n' || c == '\r' || c == '\t') c = ' ';
  return NormaliseBlanks(text);
}

void ReadMethodSet(const pugi::xml_node& set, std::vector<CollectedMethod>& methods) {
  const std::string setStage = TextOf(Child(Child(set, "properties"), "stage"));
  for (const pugi::xml_node& method : set.children()) {
    if (method.type() != pugi::node_element || LocalName(method) != "method") continue;
    CollectedMethod collected;
    collected.title = TextOf(Child(method, "title"));
    const pugi::xml_node ownStage = Child(method, "stage");
    collected.stage = ownStage ? TextOf(ownStage) : setStage;
    collected.notation = TextOf(Child(method, "notation"));
    methods.push_back(std::move(collected));
  }
}

}  // namespace

MethodCollection ReadMethodCollection(std::string_view text) {
  MethodCollection collection;
  pugi::xml_document document;
  // No document type is read, so no entity of the file is ever expanded.
  const pugi::xml_parse_result parsed =
      document.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_auto);
  if (!parsed) {
    collection.error = std::string("not XML: ") + parsed.description() + " at byte " + std::to_string(parsed.offset);
    return collection;
  }
  const pugi::xml_node root = document.document_element();
  if (LocalName(root) != "collection") {
    collection.error = "not a method collection: the file's element is <" + std::string(root.name()) +
                       ">, not <collection>";
    return collection;
  }
  for (const pugi::xml_node& set : root.children()) {
    if (set.type() == pugi::node_element && LocalName(set) == "methodSet") ReadMethodSet(set, collection.methods);
  }
  return collection;
}

MethodCollection ReadMethodCollectionFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {{}, "cannot be read"};
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) return {{}, "cannot be read"};
  return ReadMethodCollection(text.view());
}

}  // namespace clangor
