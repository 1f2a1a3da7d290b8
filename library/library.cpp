#include "library/library.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "library/atomic_file.h"
#include "library/composition_file.h"
#include "library/staged_file.h"
#include "ringing/settings_source.h"

namespace clangor {

namespace {

std::size_t Slot(int stage) { return static_cast<std::size_t>(IsStage(stage) ? stage : 0); }

// Moves the record that lives at `record` to the front of its list.
template <typename List, typename Record>
void MoveToFront(List& list, const Record* record) {
  const auto at = std::find_if(list.begin(), list.end(), [&](const auto& held) { return held.get() == record; });
  if (at != list.end()) std::rotate(list.begin(), at, at + 1);
}

}  // namespace

void Library::LoadLibrary(const std::filesystem::path& dataFolder, SettingsSource* settings) {
  folder_.clear();
  if (dataFolder.empty()) return;
  folder_ = dataFolder / LibraryFolder;
  std::filesystem::path from = folder_;
  if (settings != nullptr && settings->GetInt(setting::LoadFromDefaults) == 1) {
    from = dataFolder / DefaultLibraryFolder;
    settings->SetInt(setting::LoadFromDefaults, 0);
  }
  {
    std::ifstream in(from / MethodsFile, std::ios::binary);
    if (in) ReadMethods(in);
  }
  {
    std::ifstream in(from / CompositionsFile, std::ios::binary);
    if (in) ReadCompositions(in);
  }
  {
    std::ifstream in(from / SequencesFile, std::ios::binary);
    if (in) ReadCallChangeSequences(in);
  }
}

void Library::ReadMethods(std::istream& in) {
  std::vector<StagedEntry> entries;
  methodsReadInFull_ = ReadStagedFile(in, &methodsHeader_, &entries);
  for (StagedEntry& entry : entries) AddMethod({entry.stage, std::move(entry.name), std::move(entry.text)});
}

void Library::ReadCallChangeSequences(std::istream& in) {
  std::vector<StagedEntry> entries;
  sequencesReadInFull_ = ReadStagedFile(in, &sequencesHeader_, &entries);
  for (StagedEntry& entry : entries) AddSequence({entry.stage, std::move(entry.name), std::move(entry.text)});
}

void Library::ReadCompositions(std::istream& in) {
  std::vector<CompositionFields> records;
  compositionsReadInFull_ = ReadCompositionFile(in, &compositionsHeader_, &standardHeadings_, &records);
  for (const CompositionFields& fields : records) {
    if (auto composition = BuildComposition(fields, this, &standardHeadings_)) {
      compositions_.push_back(std::move(composition));
    }
  }
}

std::string Library::MethodsText(std::vector<std::string>* leftOut) const {
  return WriteStagedFile(
      methodsHeader_,
      [this](int stage) {
        std::vector<StagedEntry> entries;
        for (const auto& method : Methods(stage)) entries.push_back({stage, method->name, method->line});
        return entries;
      },
      leftOut);
}

std::string Library::CallChangeSequencesText(std::vector<std::string>* leftOut) const {
  return WriteStagedFile(
      sequencesHeader_,
      [this](int stage) {
        std::vector<StagedEntry> entries;
        for (const auto& sequence : Sequences(stage)) entries.push_back({stage, sequence->name, sequence->notation});
        return entries;
      },
      leftOut);
}

std::string Library::CompositionsText(std::vector<std::string>* leftOut) const {
  return WriteCompositionFile(compositionsHeader_, standardHeadings_, compositions_, leftOut);
}

bool Library::Save(const char* file, const std::string& text, bool& readInFull) const {
  if (folder_.empty()) return false;
  const std::filesystem::path path = folder_ / file;
  if (!readInFull) {
    // What the reading passed over would be lost with the rewrite: keep it.
    std::filesystem::path kept = path;
    kept += ".unread";
    std::error_code error;
    if (std::filesystem::exists(path, error)) {
      std::filesystem::copy_file(path, kept, std::filesystem::copy_options::overwrite_existing, error);
      if (error) return false;
    }
    readInFull = true;
  }
  return ReplaceFile(path, text);
}

bool Library::SaveWhole(const char* file, const std::string& text, bool& readInFull) const {
  return Save(file, text, readInFull) && leftOut_.empty();
}

bool Library::SaveMethods() const {
  leftOut_.clear();
  return SaveWhole(MethodsFile, MethodsText(&leftOut_), methodsReadInFull_);
}

bool Library::SaveCompositions() const {
  leftOut_.clear();
  return SaveWhole(CompositionsFile, CompositionsText(&leftOut_), compositionsReadInFull_);
}

bool Library::SaveCallChangeSequences() const {
  leftOut_.clear();
  return SaveWhole(SequencesFile, CallChangeSequencesText(&leftOut_), sequencesReadInFull_);
}

Library::MethodList& Library::Methods(int stage) { return methods_[Slot(stage)]; }
const Library::MethodList& Library::Methods(int stage) const { return methods_[Slot(stage)]; }
Library::SequenceList& Library::Sequences(int stage) { return sequences_[Slot(stage)]; }
const Library::SequenceList& Library::Sequences(int stage) const { return sequences_[Slot(stage)]; }

Method* Library::AddMethod(const Method& method) {
  if (!IsStage(method.stage) || !FitsStagedLine({method.stage, method.name, method.line})) return nullptr;
  auto& list = methods_[Slot(method.stage)];
  list.push_back(std::make_unique<Method>(method));
  titleIndex_[Slot(method.stage)][method.Title()] = list.back().get();
  return list.back().get();
}

CallChangeSequence* Library::AddSequence(const CallChangeSequence& sequence) {
  if (!IsStage(sequence.stage) || !FitsStagedLine({sequence.stage, sequence.name, sequence.notation})) return nullptr;
  auto& list = sequences_[Slot(sequence.stage)];
  list.push_back(std::make_unique<CallChangeSequence>(sequence));
  return list.back().get();
}

Composition* Library::AddComposition(std::unique_ptr<Composition> composition) {
  if (composition == nullptr || !RecordFits(*composition)) return nullptr;
  compositions_.push_back(std::move(composition));
  return compositions_.back().get();
}

void Library::UnindexMethod(const Method* method) {
  auto& index = titleIndex_[Slot(method->stage)];
  for (auto it = index.begin(); it != index.end();) it = it->second == method ? index.erase(it) : std::next(it);
}

void Library::ChangeMethod(Method& method, const Method& value) {
  UnindexMethod(&method);
  method.name = value.name;
  method.line = value.line;
  titleIndex_[Slot(method.stage)][method.Title()] = &method;
  for (const auto& composition : compositions_)
    for (MethodEntry& entry : composition->entries)
      if (entry.method == &method) entry.title = method.Title();
}

std::pair<std::unique_ptr<Method>, std::size_t> Library::TakeMethod(const Method* method) {
  if (method == nullptr) return {};
  auto& list = methods_[Slot(method->stage)];
  const auto at = std::find_if(list.begin(), list.end(), [&](const auto& held) { return held.get() == method; });
  if (at == list.end()) return {};
  UnindexMethod(method);
  std::pair<std::unique_ptr<Method>, std::size_t> taken{std::move(*at), static_cast<std::size_t>(at - list.begin())};
  list.erase(at);
  return taken;
}

void Library::PutMethodBack(std::unique_ptr<Method> method, std::size_t place) {
  if (method == nullptr || !IsStage(method->stage)) return;
  auto& list = methods_[Slot(method->stage)];
  titleIndex_[Slot(method->stage)][method->Title()] = method.get();
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(std::min(place, list.size())), std::move(method));
}

const Method* Library::FindMethod(const std::string& title, const std::bitset<MaxStage + 1>& stages) const {
  for (int stage = MinStage; stage <= MaxStage; ++stage) {
    if (!stages.test(static_cast<std::size_t>(stage))) continue;
    if (const Method* method = Titled(stage, title)) return method;
  }
  return nullptr;
}

const Method* Library::Titled(int stage, const std::string& title) const {
  // The index names the later of two methods with one title; a method
  // renamed or removed since leaves the last of the list's matches.
  const auto& index = titleIndex_[Slot(stage)];
  const auto indexed = index.find(title);
  const Method* last = nullptr;
  for (const auto& method : Methods(stage)) {
    if (method->Title() != title) continue;
    if (indexed != index.end() && indexed->second == method.get()) return method.get();
    last = method.get();
  }
  return last;
}

Composition* Library::FindComposition(const std::string& name) const {
  for (const auto& composition : compositions_) {
    if (composition->name == name) return composition.get();
  }
  return nullptr;
}

const CallChangeSequence* Library::FindSequence(const std::string& name, int stage) const {
  for (const auto& sequence : Sequences(stage)) {
    if (sequence->name == name) return sequence.get();
  }
  return nullptr;
}

void Library::MethodRung(const Method& method) { MoveToFront(methods_[Slot(method.stage)], &method); }

void Library::SequenceRung(const CallChangeSequence& sequence) {
  MoveToFront(sequences_[Slot(sequence.stage)], &sequence);
}

}  // namespace clangor
