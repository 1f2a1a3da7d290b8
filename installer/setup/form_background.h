// The optional full-screen backdrop behind the wizard, with the package's
// background caption.
#pragma once

#include <QWidget>

namespace clangor::outfit {

class TFormBackground : public QWidget {
 public:
  explicit TFormBackground(const QString& caption);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString caption_;
};

}  // namespace clangor::outfit
