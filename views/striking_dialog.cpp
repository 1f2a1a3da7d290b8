#include "views/striking_dialog.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QVBoxLayout>

#include "engine/striking_text.h"
#include "views/striking_chart.h"

namespace clangor {

StrikingDialog::StrikingDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Striking Report");
  auto* layout = new QVBoxLayout(this);
  heading_ = new QLabel(this);
  QFont bold = heading_->font();
  bold.setBold(true);
  heading_->setFont(bold);
  figures_ = new QLabel(this);
  figures_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  figures_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  chart_ = new StrikingChart(this);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(heading_);
  layout->addWidget(figures_);
  layout->addWidget(chart_, 1);
  layout->addWidget(buttons);
  resize(640, 520);
}

void StrikingDialog::SetAnalysis(const StrikingAnalysis& analysis, const QString& what) {
  heading_->setText(what);
  QString text = QString::fromStdString(FormatStrikingReport(analysis));
  text += QString("Within +-%1 ms a listener hears no fault.").arg(HeardErrorMs, 0, 'f', 0);
  figures_->setText(text);
  chart_->SetAnalysis(analysis);
}

QString StrikingDialog::figuresText() const { return figures_->text(); }

}  // namespace clangor
