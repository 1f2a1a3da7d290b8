// Finds methods, compositions and call-change sequences by name in the
// library of a data folder, read as the simulator reads it: the user's
// "Compendium/XII/" when it holds the methods file, else the defaults in
// "Defaults/Compendium/XII/".
#pragma once

#include <filesystem>
#include <string>

#include "library/library.h"

namespace clangor::ring {

class LibraryLookup {
 public:
  explicit LibraryLookup(const std::filesystem::path& dataFolder);

  // By title ("Plain Bob Major"), or by name at the largest stage that fits
  // `bells`; null when there is none.
  const Method* FindMethod(const std::string& title, int bells) const;
  // By name at the stage `bells`, else at the largest stage below it.
  const CallChangeSequence* FindSequence(const std::string& name, int bells) const;
  // By name: of those that share it, the first that may be rung on `bells`
  // bells with `method` (any method when null); null when there is none.
  Composition* FindComposition(const std::string& name, int bells, const Method* method) const;

 private:
  Library library_;
};

}  // namespace clangor::ring
