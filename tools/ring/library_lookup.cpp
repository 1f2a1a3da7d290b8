#include "tools/ring/library_lookup.h"

#include "ringing/memory_settings.h"
#include "ringing/text.h"

namespace clangor::ring {

LibraryLookup::LibraryLookup(const std::filesystem::path& dataFolder) {
  MemorySettings settings;
  if (!std::filesystem::exists(dataFolder / LibraryFolder / MethodsFile)) settings.SetInt(setting::LoadFromDefaults, 1);
  library_.LoadLibrary(dataFolder, &settings);
}

const Method* LibraryLookup::FindMethod(const std::string& title, int bells) const {
  const std::string wanted = NormaliseBlanks(title);
  for (int stage = MinStage; stage <= MaxStage; ++stage)
    for (const auto& m : library_.Methods(stage))
      if (m->Title() == wanted) return m.get();
  for (int stage = std::min(bells, MaxStage); stage >= MinStage; --stage)
    for (const auto& m : library_.Methods(stage))
      if (m->name == wanted) return m.get();
  return nullptr;
}

const CallChangeSequence* LibraryLookup::FindSequence(const std::string& name, int bells) const {
  const std::string wanted = NormaliseBlanks(name);
  for (int stage = std::min(bells, MaxStage); stage >= MinStage; --stage)
    if (const CallChangeSequence* s = library_.FindSequence(wanted, stage)) return s;
  return nullptr;
}

Composition* LibraryLookup::FindComposition(const std::string& name, int bells, const Method* method) const {
  const std::string wanted = NormaliseBlanks(name);
  for (const auto& c : library_.compositions()) {
    if (c->name != wanted) continue;
    const Method* rung = method != nullptr ? method : c->FirstMethod();
    if (rung == nullptr || rung->stage > bells || !c->AppliesTo(*rung)) continue;
    return c.get();
  }
  return nullptr;
}

}  // namespace clangor::ring
