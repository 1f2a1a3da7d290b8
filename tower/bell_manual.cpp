// The manual bell: the user's bell in the manual-control window. It takes no
// properties of its own; it stands for one bell of the tower and, while it is
// active, rings in that bell's place from that bell's swing.
#include "tower/bell.h"

namespace clangor {

void Bell::mirror(const Bell* partner) {
  if (!manual_) return;
  partner_ = partner;
  data_ = partner ? &partner->data() : &ownData_;
  active_ = false;
  if (partner) {
    swing_ = partner->state();
    picture_ = partner->picture();
    pictureIndex_ = partner->pictureIndex();
  }
}

void Bell::takeOver(Bell& partner) {
  if (!manual_ || partner_ != &partner) return;
  swing_ = partner.state();
  picture_ = partner.picture();
  pictureIndex_ = partner.pictureIndex();
  active_ = true;
  partner.rungByProgram_ = false;
}

void Bell::handBack(Bell& partner) {
  if (!manual_ || partner_ != &partner) return;
  active_ = false;
  partner.rungByProgram_ = true;
}

}  // namespace clangor
