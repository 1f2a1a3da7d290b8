#include "ringing/ideal_striking.h"

#include "ringing/change_generator.h"

namespace clangor {

IdealStriking::IdealStriking(ChangeGenerator& generator) : generator_(generator) {
  for (int bell = 0; bell < generator.bellCount(); ++bell) due_.push({bell, bell});
}

IdealStriking::Blow IdealStriking::Strike() {
  const auto [interval, bell] = due_.top();
  due_.pop();
  const int timingClass = generator_.NextStrike(bell);
  due_.push({interval + generator_.bellCount() - 1 + timingClass, bell});
  return {bell, interval};
}

}  // namespace clangor
