// "setoption name NAME [value VALUE]".
#include <cstring>

#include "uci/uci.h"

namespace uci {

namespace {

// How UCI writes an empty string.
constexpr const char* EMPTY_TEXT = "<empty>";

// The name words up to "value" (taken too), joined by blanks.
std::string readName(LineWords& words) {
  std::string name;
  for (const char* word; (word = words.next()) && std::strcmp(word, "value") != 0;) {
    if (!name.empty()) name += ' ';
    name += word;
  }
  return name;
}

}  // namespace

void FrontEnd::setoptionCommand(LineWords& words) {
  const char* first = words.next();
  if (!first || std::strcmp(first, "name") != 0) return Message("setoption: expected name");
  const std::string name = readName(words);
  std::string value = words.rest();
  if (value == EMPTY_TEXT) value.clear();
  const Option* option = FindOption(name.c_str());
  if (!option) return Message("unknown option: " + name);
  const OptionReply reply = option->set(engine_, settings_, value);
  if (!reply.text.empty()) Message(reply.text);
}

}  // namespace uci
