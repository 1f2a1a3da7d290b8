// The library (the compendium): the user's methods, compositions and
// call-change sequences, read from and written to their three files.
#pragma once

#include <array>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ringing/bells.h"
#include "ringing/call_change_sequence.h"
#include "ringing/composition.h"
#include "ringing/composition_builder.h"
#include "ringing/method.h"
#include "ringing/usage_order.h"

namespace clangor {

class SettingsSource;

// The library's folders under the data folder, and its file names.
inline constexpr const char* LibraryFolder = "Compendium/XII";
inline constexpr const char* DefaultLibraryFolder = "Defaults/Compendium/XII";
inline constexpr const char* MethodsFile = "methods.txt";
inline constexpr const char* CompositionsFile = "compositions.txt";
inline constexpr const char* SequencesFile = "call_change_sequences.txt";

class Library : public UsageOrder, public MethodFinder {
 public:
  // Each stage's list, most recently rung first. The records never move in
  // memory, so the generator and the compositions may hold them.
  using MethodList = std::vector<std::unique_ptr<Method>>;
  using SequenceList = std::vector<std::unique_ptr<CallChangeSequence>>;
  using CompositionList = std::vector<std::unique_ptr<Composition>>;

  Library() = default;
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  // Reads methods, then compositions (resolved against those methods), then
  // call-change sequences from `dataFolder`/Compendium/XII, or from
  // Defaults/Compendium/XII when the setting LoadFromDefaults is 1 (which is
  // then set back to 0). An empty data folder reads nothing and names no
  // file; the files are always written to the normal folder.
  void LoadLibrary(const std::filesystem::path& dataFolder, SettingsSource* settings);

  // Each rewrites its whole file from memory; false when it could not be
  // written (or no data folder is known), and false too when a record was
  // left out because a line of it would be too long to read back (the rest
  // is written; leftOut() names what was not).
  bool SaveMethods() const;
  bool SaveCompositions() const;
  bool SaveCallChangeSequences() const;
  // What the last save left out.
  const std::vector<std::string>& leftOut() const { return leftOut_; }

  // The same, from and to streams and text (the files' exact forms).
  void ReadMethods(std::istream& in);
  void ReadCompositions(std::istream& in);
  void ReadCallChangeSequences(std::istream& in);
  std::string MethodsText(std::vector<std::string>* leftOut = nullptr) const;
  std::string CompositionsText(std::vector<std::string>* leftOut = nullptr) const;
  std::string CallChangeSequencesText(std::vector<std::string>* leftOut = nullptr) const;

  // The folder the files are written to; empty when the data folder is unknown.
  const std::filesystem::path& folder() const { return folder_; }

  MethodList& Methods(int stage);
  const MethodList& Methods(int stage) const;
  SequenceList& Sequences(int stage);
  const SequenceList& Sequences(int stage) const;
  CompositionList& compositions() { return compositions_; }
  const CompositionList& compositions() const { return compositions_; }
  StandardHeadings& standardHeadings() { return standardHeadings_; }
  const StandardHeadings& standardHeadings() const { return standardHeadings_; }

  // Adds a record at the end of its list (stage 3..18) and returns it; none
  // when its stage is not one, or when a line of it would be too long to
  // read back from the file.
  Method* AddMethod(const Method& method);
  CallChangeSequence* AddSequence(const CallChangeSequence& sequence);
  Composition* AddComposition(std::unique_ptr<Composition> composition);

  // Changes a method the library holds in place (it keeps its place in the
  // list and its address), re-indexing its title; the compositions that
  // name it take its new title.
  void ChangeMethod(Method& method, const Method& value);
  // Takes a method out of its list, with its place there (none when the
  // library does not hold it); PutMethodBack undoes it.
  std::pair<std::unique_ptr<Method>, std::size_t> TakeMethod(const Method* method);
  void PutMethodBack(std::unique_ptr<Method> method, std::size_t place);

  // The method of that title at the first flagged stage that has one; of
  // two with one title, the later (as the compositions were resolved when
  // the library was loaded, and as the editors resolve them afterwards).
  const Method* FindMethod(const std::string& title, const std::bitset<MaxStage + 1>& stages) const override;
  // A composition by name, or none.
  Composition* FindComposition(const std::string& name) const;
  const CallChangeSequence* FindSequence(const std::string& name, int stage) const;

  // UsageOrder: the rung record moves to the front of its stage's list.
  void MethodRung(const Method& method) override;
  void SequenceRung(const CallChangeSequence& sequence) override;

 private:
  void UnindexMethod(const Method* method);
  // The method of that title in one stage's list, or none.
  const Method* Titled(int stage, const std::string& title) const;

  // Writes one file; the first time a file that was not read to its end is
  // replaced, the file as it stood is kept beside it with ".unread" added.
  bool Save(const char* file, const std::string& text, bool& readInFull) const;
  // Save, reporting what the text left out.
  bool SaveWhole(const char* file, const std::string& text, bool& readInFull) const;

  std::filesystem::path folder_;
  mutable std::vector<std::string> leftOut_;
  // Per file: read to its end (or never read); cleared when a wrong section,
  // a line too long or a record without calling stopped the reading.
  mutable bool methodsReadInFull_ = true, compositionsReadInFull_ = true, sequencesReadInFull_ = true;
  std::vector<std::string> methodsHeader_, compositionsHeader_, sequencesHeader_;
  std::array<MethodList, MaxStage + 1> methods_;
  std::array<SequenceList, MaxStage + 1> sequences_;
  // Per stage: title -> method, the later of two equal titles winning
  // (added later, or further down the file); titles resolve through it.
  std::array<std::map<std::string, const Method*>, MaxStage + 1> titleIndex_;
  StandardHeadings standardHeadings_;
  CompositionList compositions_;
};

}  // namespace clangor
