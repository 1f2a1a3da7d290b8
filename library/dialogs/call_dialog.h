// The call dialog under the method editor: one call's marker, name, letter
// and notation ("New Call" or "Modify Call").
#pragma once

#include <QDialog>

#include <memory>

#include "library/forms/method_form.h"

namespace Ui {
class CallDialog;
}

namespace clangor {

class CallDialog final : public QDialog {
  Q_OBJECT
 public:
  // `call` none: a new call.
  CallDialog(int stage, const MethodCall* call, QWidget* parent);
  ~CallDialog() override;

  // The call as accepted (name and notation blank-normalised).
  const MethodCall& call() const { return call_; }

 public slots:
  void accept() override;

 private:
  std::unique_ptr<Ui::CallDialog> ui_;
  int stage_;
  MethodCall call_;
};

}  // namespace clangor
