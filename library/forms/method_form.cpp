#include "library/forms/method_form.h"

#include <algorithm>

#include "library/library.h"
#include "ringing/bells.h"
#include "ringing/call_table.h"
#include "ringing/method.h"
#include "ringing/text.h"

namespace clangor {

namespace {

namespace field = method_field;

std::string StageBells(int stage) { return std::string(BellChars.substr(0, static_cast<std::size_t>(stage))); }

bool OnlyFrom(const std::string& text, const std::string& allowed) {
  return text.find_first_not_of(allowed) == std::string::npos;
}

bool IsBob(const MethodCall& call) { return call.name == "Bob" && call.letter == 'b'; }
bool IsSingle(const MethodCall& call) { return call.name == "Single" && call.letter == 's'; }

Verdict CheckCallsAgainst(const std::vector<MethodCall>& calls, const std::string& notation) {
  const auto invalid = [](const char* text) { return Complaint{text, "Invalid Call", field::Calls}; };
  for (std::size_t i = 0; i < calls.size(); ++i) {
    const MethodCall& call = calls[i];
    if (notation.find(call.marker) == std::string::npos) return invalid("Call marker not found in the method's notation");
    for (std::size_t j = 0; j < i; ++j) {
      const MethodCall& other = calls[j];
      if (other.marker == call.marker && (other.name == call.name || other.letter == call.letter))
        return invalid("Duplicate name or letter for same marker");
      if ((other.name == call.name) != (other.letter == call.letter))
        return invalid("Name or letter mismatch with another call");
    }
  }
  return std::nullopt;
}

// Names that the file could not hold as they stand: "=" ends the name, and
// a line that begins with "[" is read as a section.
bool NameFitsFile(const std::string& name) { return name.find('=') == std::string::npos && name.rfind('[', 0) != 0; }

}  // namespace

std::string NotationCharacters(int stage) { return StageBells(stage) + "&.-:" + std::string(CallMarkers); }

MethodForm FormOf(const Method& method) {
  MethodForm form;
  form.name = method.name;
  const auto comma = method.line.find(',');
  form.notation = NormaliseBlanks(method.line.substr(0, comma));
  if (comma == std::string::npos) return form;
  for (const CallDefinition& call : CallDefinitions(method.line.substr(comma + 1)))
    form.calls.push_back({call.marker, call.name, call.letter, call.changes});
  return form;
}

Verdict CheckCall(const std::string& marker, const std::string& name, const std::string& letter,
                  const std::string& notation, int stage) {
  const std::string markers(CallMarkers);
  if (marker.size() != 1 || !IsCallMarker(marker[0]))
    return Complaint{"Marker must be one of " + markers, "Invalid Marker Character", field::CallMarker};
  const std::string trimmedName = NormaliseBlanks(name);
  if (trimmedName.empty()) return Complaint{"Call must have a name", "Invalid Name", field::CallName};
  const std::string forbidden = markers + ":,";
  if (trimmedName.find_first_of(forbidden) != std::string::npos)
    return Complaint{"Name must not include any of " + forbidden, "Invalid Name", field::CallName};
  if (letter.size() != 1 || letter[0] < 'a' || letter[0] > 'z' || letter[0] == 'p')
    return Complaint{"Letter must be lowercase alphabetic (but not 'p')", "Invalid Letter", field::CallLetter};
  const std::string changes = NormaliseBlanks(notation);
  if (changes.empty()) return Complaint{"Notation must have a value", "Invalid Notation", field::CallNotation};
  if (!OnlyFrom(changes, StageBells(stage) + ".-"))
    return Complaint{"Notation must comprise only bell numbers, full stops and hyphens", "Invalid Notation",
                     field::CallNotation};
  return std::nullopt;
}

Verdict CheckNotationAndCalls(const MethodForm& form, int stage) {
  if (form.notation.empty()) return Complaint{"Notation must have a value", "Invalid Notation", field::Notation};
  const std::string allowed = NotationCharacters(stage);
  if (!OnlyFrom(form.notation, allowed))
    return Complaint{"Use these characters only:" + allowed, "Invalid Notation", field::Notation};
  return CheckCallsAgainst(form.calls, form.notation);
}

std::string AssembleLine(const std::string& notation, const std::vector<MethodCall>& calls) {
  if (calls.empty()) return notation;
  std::string markers;  // in the order the calls first use them
  for (const MethodCall& call : calls)
    if (markers.find(call.marker) == std::string::npos) markers.push_back(call.marker);
  std::string area;
  for (const char marker : markers) {
    const auto at = [&](bool (*is)(const MethodCall&)) {
      return std::find_if(calls.begin(), calls.end(), [&](const MethodCall& c) { return c.marker == marker && is(c); });
    };
    const auto bob = at(IsBob);
    const auto single = at(IsSingle);
    if (bob != calls.end()) area += marker + bob->notation;
    if (single != calls.end()) {
      if (bob == calls.end()) area += marker;  // so that it is read back as the Single
      area += marker + single->notation;
    }
    for (const MethodCall& call : calls) {
      if (call.marker != marker || IsBob(call) || IsSingle(call)) continue;
      area += marker + call.name + ":" + call.letter + ":" + call.notation;
    }
  }
  return notation + "," + area;
}

Verdict CheckMethod(const MethodForm& form, int stage, const Library& library, const Method* editing) {
  if (Verdict verdict = CheckNotationAndCalls(form, stage)) return verdict;
  const std::string line = AssembleLine(form.notation, form.calls);
  if (form.name.size() + 1 + line.size() > static_cast<std::size_t>(LongestLibraryLine))
    return Complaint{"Total length of name, notation and calls must not exceed " + std::to_string(LongestLibraryLine) +
                         " characters",
                     "Line length exceeded", field::Notation};
  if (!NameFitsFile(form.name))
    return Complaint{"Name must not begin with [ or include =", "Invalid Name", field::Name};
  const bool titleChanges = editing == nullptr || editing->name != form.name;
  if (titleChanges) {
    const std::string title = MethodTitle(form.name, stage);
    for (const auto& method : library.Methods(stage))
      if (method.get() != editing && method->Title() == title)
        return Complaint{"A method with this name already exists", "Invalid Name", field::Name};
  }
  return std::nullopt;
}

std::string ConvertFromMicroSiril(const std::string& text, int stage) {
  std::string squeezed;
  for (const char c : text)
    if (c != ' ' && c != '+') squeezed.push_back(c);
  const std::string bells = StageBells(stage);
  const auto k = squeezed.find_first_not_of(bells);
  if (k == std::string::npos) return squeezed;
  const char c = squeezed[k];
  if (c < 'a' || c > 'z' || (k != 0 && c != 'z')) return squeezed;
  std::string leadEnd;
  if (k > 0) leadEnd = "|" + squeezed.substr(0, k) + "|";
  else if (std::string("abcdefpq").find(c) != std::string::npos) leadEnd = "|2|";
  else if (std::string("ghjklmrs").find(c) != std::string::npos) leadEnd = "|1|";
  const std::string rest = squeezed.substr(k + 1, 999);
  return rest.find('&') != std::string::npos ? leadEnd + rest : rest + leadEnd;
}

bool MethodInUse(const Library& library, const Method& method) {
  for (const auto& composition : library.compositions())
    for (const MethodEntry& entry : composition->entries)
      if (entry.method == &method) return true;
  return false;
}

}  // namespace clangor
