#include "device/FrameLog.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

void TFrameLog::Add(TFrameLogEntry entry) {
  entries_.push_back(std::move(entry));
  if (entries_.size() > kKept) entries_.pop_front();
  if (OnChange) OnChange();
}

TFrameWindow::TFrameWindow(const TFrameLog& log, std::function<QString()> state)
    : log_(log), stateText_(std::move(state)), state_(new QLabel(this)), table_(new QTreeWidget(this)) {
  setWindowTitle(QStringLiteral("Zarvo Caller ID - son ham çerçeveler"));
  resize(900, 360);
  table_->setRootIsDecorated(false);
  table_->setHeaderLabels({QStringLiteral("Saat"), QStringLiteral("Hat"), QStringLiteral("Kaynak"),
                           QStringLiteral("Ham veri"), QStringLiteral("Çözülen alanlar"), QStringLiteral("Sonuç")});
  table_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(state_);
  layout->addWidget(table_);
  Refresh();
}

void TFrameWindow::Refresh() {
  state_->setText(stateText_());
  table_->clear();
  for (auto it = log_.Entries().rbegin(); it != log_.Entries().rend(); ++it)
    table_->addTopLevelItem(
        new QTreeWidgetItem({it->at.toString(QStringLiteral("HH:mm:ss.zzz")), QString::number(it->line), it->source,
                             it->raw, it->fields, it->verdict}));
}
