#include "views/rows_window.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyle>

namespace clangor {

namespace {
constexpr int FontPoints = 10;
}  // namespace

RowsWindow::RowsWindow(int limit, QWidget* parent)
    : QWidget(parent), store_(limit > 0 ? limit : RowsStore::DefaultLimit) {
  setObjectName("CL_Rows");
  setAutoFillBackground(true);
  setFocusPolicy(Qt::NoFocus);
  text_ = new QPlainTextEdit(this);
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  text_->setFocusPolicy(Qt::NoFocus);
  text_->setTextInteractionFlags(Qt::NoTextInteraction);
  text_->document()->setDocumentMargin(1);
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSize(FontPoints);
  font.setWeight(QFont::Normal);
  text_->setFont(font);
  scroller_ = new QScrollBar(Qt::Vertical, this);
  scroller_->setFocusPolicy(Qt::NoFocus);
  scroller_->setRange(0, 0);
  connect(scroller_, &QScrollBar::actionTriggered, this, &RowsWindow::Scrolled);
  hide();
}

int RowsWindow::LineHeight() const {
  const QFontMetrics metrics(text_->font());
  return std::max(metrics.lineSpacing(), 1);
}

void RowsWindow::Clear() {
  store_.Clear();
  Refresh();
}

void RowsWindow::Refresh() {
  if (!shown_) return;
  refreshing_ = true;
  text_->setPlainText(QString::fromStdString(store_.DisplayText()).replace("\r\n", "\n"));
  scroller_->setRange(0, store_.ScrollMaximum());
  scroller_->setPageStep(store_.ScrollPage());
  scroller_->setValue(store_.top());
  refreshing_ = false;
}

void RowsWindow::Show(bool shown) {
  shown_ = shown;
  setVisible(shown);
  if (shown) Refresh();
}

QString RowsWindow::shownText() const { return text_->toPlainText(); }

bool RowsWindow::CopyToClipboard(const std::string& appendix) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr) return false;
  clipboard->setText(QString::fromStdString(store_.ClipboardText() + appendix));
  return true;
}

void RowsWindow::resizeEvent(QResizeEvent*) {
  const int barWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  text_->setGeometry(0, 0, std::max(width() - barWidth, 0), height());
  scroller_->setGeometry(std::max(width() - barWidth, 0), 0, barWidth, height());
  store_.SetVisible((text_->contentsRect().height() - 2) / LineHeight());
  Refresh();
}

void RowsWindow::Scrolled(int action) {
  if (refreshing_) return;
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub: store_.LineUp(); break;
    case QAbstractSlider::SliderSingleStepAdd: store_.LineDown(); break;
    case QAbstractSlider::SliderPageStepSub: store_.PageUp(); break;
    case QAbstractSlider::SliderPageStepAdd: store_.PageDown(); break;
    case QAbstractSlider::SliderMove: store_.ThumbTrack(scroller_->sliderPosition()); break;
    default: return;
  }
  Refresh();
  // The bar's own step would move it again: the store has decided.
  scroller_->setSliderPosition(store_.top());
}

}  // namespace clangor
