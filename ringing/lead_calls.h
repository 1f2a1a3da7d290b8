// The calls of a touch given one letter per lead ("p", "b", "s" or any letter
// the line defines): each lead's letter is made at the first marker of the
// lead where the method can make it. Asked by the generator as a composition
// is asked, so the calls fall exactly where the generator would make them.
#pragma once

#include <string>

#include "ringing/composition_source.h"

namespace clangor {

class LeadCalls : public CompositionSource {
 public:
  explicit LeadCalls(std::string letters) : letters_(std::move(letters)) {}

  const Method* NextMethod(bool atHalfLead) override;
  char CallAt(const Row& row, char marker, const CallTable& calls) override;
  void SectionEnded(const Row&) override {}
  void Restart(const Method*, const Row&) override;
  int KeepGoing() const override { return 0; }
  const std::string& DefaultCallMarkers() const override { return markers_; }
  bool ObservationFixed() const override { return true; }
  std::string SpecialCalls(const Method&) const override { return {}; }

 private:
  std::string letters_;
  std::string markers_ = "|/\\";
  std::size_t lead_ = 0;
  bool called_ = false;  // this lead's letter has been made
};

}  // namespace clangor
