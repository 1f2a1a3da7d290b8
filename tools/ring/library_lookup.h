// Finds methods and call-change sequences by name in the library files of a
// data folder: the user's "Compendium/XII/" when it has the file, else the
// defaults in "Defaults/Compendium/XII/". Read by the library files' rules:
// header lines up to the first "[", then "[stage]" sections of name=text
// lines; a bad line is skipped.
#pragma once

#include <deque>
#include <filesystem>
#include <string>

#include "ringing/call_change_sequence.h"
#include "ringing/method.h"

namespace clangor::ring {

class LibraryLookup {
 public:
  explicit LibraryLookup(const std::filesystem::path& dataFolder);

  // By title ("Plain Bob Major"), or by name at the largest stage that fits
  // `bells`; null when there is none.
  const Method* FindMethod(const std::string& title, int bells) const;
  // By name at the stage `bells`, else at the largest stage below it.
  const CallChangeSequence* FindSequence(const std::string& name, int bells) const;

 private:
  std::deque<Method> methods_;
  std::deque<CallChangeSequence> sequences_;
};

}  // namespace clangor::ring
