// The picture a bell shows: chosen from its angle while it swings, stepped
// one at a time while it is raised or lowered, loaded outwards from the
// picture of the bell hanging down.
#include <algorithm>

#include "tower/bell.h"

namespace clangor {

namespace {
std::size_t At(int i) { return static_cast<std::size_t>(i); }
}  // namespace

// Moves along the sequence of the current direction while the next
// picture's angle has been passed.
void Bell::choosePicture(int& flags) {
  const BellData& d = *data_;
  const std::vector<int>& sequence = swing_.turningClockwise ? d.cwSequence : d.acwSequence;
  if (sequence.empty()) return;
  if (pictureIndex_ < 0 || At(pictureIndex_) >= sequence.size()) pictureIndex_ = 0;
  const auto passed = [&](int picture) {
    const int angle = d.imageAngle[At(picture)];
    return swing_.turningClockwise ? angle >= swing_.angle : angle <= swing_.angle;
  };
  while (At(pictureIndex_) + 1 < sequence.size() && passed(sequence[At(pictureIndex_) + 1])) {
    ++pictureIndex_;
  }
  const int shown = sequence[At(pictureIndex_)];
  if (shown != picture_) flags |= PictureChanged;
  picture_ = shown;
}

bool Bell::stepTowardsUp() {
  const std::vector<int>& acw = data_->acwSequence;
  if (acw.empty()) return false;
  if (pictureIndex_ <= 0) {
    if (picture_ == acw.front()) return false;
    pictureIndex_ = 0;
    picture_ = acw.front();
    return true;
  }
  if (At(pictureIndex_) > acw.size()) pictureIndex_ = static_cast<int>(acw.size());
  const int candidate = pictureIndex_ - 1;
  if (!isPictureLoaded(acw[At(candidate)])) return false;
  pictureIndex_ = candidate;
  picture_ = acw[At(candidate)];
  return true;
}

bool Bell::stepTowardsDown() {
  const std::vector<int>& acw = data_->acwSequence;
  if (acw.empty()) return false;
  const int target = data_->downIndex;
  if (pictureIndex_ >= target) {
    if (pictureIndex_ == target && picture_ == acw[At(target)]) return false;
    pictureIndex_ = target;
    picture_ = acw[At(target)];
    return true;
  }
  const int candidate = std::max(pictureIndex_, -1) + 1;
  if (!isPictureLoaded(acw[At(candidate)])) return false;
  pictureIndex_ = candidate;
  picture_ = acw[At(candidate)];
  return true;
}

bool Bell::isUp() const {
  return !data_->acwSequence.empty() && picture_ == data_->acwSequence.front() && pictureIndex_ == 0;
}

bool Bell::isDown() const {
  const std::vector<int>& acw = data_->acwSequence;
  return !acw.empty() && picture_ == acw[At(data_->downIndex)];
}

bool Bell::isPictureLoaded(int picture) const {
  if (partner_) return partner_->isPictureLoaded(picture);
  return picture >= 0 && At(picture) < picturesLoaded_.size() && picturesLoaded_[At(picture)];
}

void Bell::markPictureLoaded(int picture) {
  if (picture >= 0 && At(picture) < picturesLoaded_.size()) picturesLoaded_[At(picture)] = true;
}

// Outwards from the hanging picture along the acw sequence (the pictures
// needed to raise the bell, nearest first), then the cw sequence.
int Bell::nextPictureToLoad() const {
  const BellData& d = *data_;
  const int n = static_cast<int>(d.acwSequence.size());
  for (int distance = 0; distance < n; ++distance) {
    for (const int i : {d.downIndex - distance, d.downIndex + distance}) {
      if (i >= 0 && i < n && !isPictureLoaded(d.acwSequence[At(i)])) return d.acwSequence[At(i)];
    }
  }
  for (const int picture : d.cwSequence) {
    if (!isPictureLoaded(picture)) return picture;
  }
  return -1;
}

}  // namespace clangor
