#include "frmHistory.h"

#include "Dialogs.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

constexpr int idRole = Qt::UserRole;
constexpr int besideGap = 8;

} // namespace

frmHistory::frmHistory(HistoryActions& actions, QWidget* parent)
    : QDialog(parent), m_actions(actions)
{
    setObjectName(QStringLiteral("frmHistory"));
    setWindowTitle(tr("History"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    resize(640, 440);

    m_model = new QStandardItemModel(0, 3, this);
    // The pair's description, the longest, last, where the view stretches it.
    m_model->setHorizontalHeaderLabels({tr("When"), tr("Replaced by"), tr("Pair kept")});
    lvwHistory = new QTreeView(this);
    lvwHistory->setObjectName(QStringLiteral("lvwHistory"));
    lvwHistory->setModel(m_model);
    lvwHistory->setRootIsDecorated(false);
    lvwHistory->setUniformRowHeights(true);
    lvwHistory->setAllColumnsShowFocus(true);
    lvwHistory->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvwHistory->setSelectionMode(QAbstractItemView::SingleSelection);
    lvwHistory->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvwHistory->header()->setStretchLastSection(true);
    auto* lblHistory = new QLabel(tr("&Pairs kept, newest first:"), this);
    lblHistory->setObjectName(QStringLiteral("lblHistory"));
    lblHistory->setBuddy(lvwHistory);

    txtDifferences = new QPlainTextEdit(this);
    txtDifferences->setObjectName(QStringLiteral("txtDifferences"));
    txtDifferences->setReadOnly(true);
    txtDifferences->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtDifferences->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* lblDifferences =
        new QLabel(tr("&How the chosen pair differs from the live files:"), this);
    lblDifferences->setObjectName(QStringLiteral("lblDifferences"));
    lblDifferences->setBuddy(txtDifferences);

    cmdRestore = new QPushButton(tr("&Restore"), this);
    cmdRestore->setObjectName(QStringLiteral("cmdRestore"));
    cmdRestore->setToolTip(tr("Puts the chosen pair back where it came from. The pair it replaces "
                              "is kept here in turn, so Ctrl+Z in the window undoes it."));
    cmdClose = new QPushButton(tr("Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    // Enter closes, as Escape does: putting a pair back takes the button's own key.
    cmdClose->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdRestore);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblHistory);
    layout->addWidget(lvwHistory, 3);
    layout->addWidget(lblDifferences);
    layout->addWidget(txtDifferences, 2);
    layout->addLayout(buttons);
    setTabOrder(lvwHistory, txtDifferences);
    setTabOrder(txtDifferences, cmdRestore);
    setTabOrder(cmdRestore, cmdClose);

    connect(cmdRestore, &QPushButton::clicked, this, [this] { cmdRestore_Click(); });
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(lvwHistory->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { lvwHistory_CurrentChanged(); });
    refresh();
    lvwHistory->setFocus();
}

void frmHistory::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (parentWidget() == nullptr || event->spontaneous())
        return;
    // To the right of the window where the screen has room, else to its left.
    const QRect window = parentWidget()->window()->frameGeometry();
    const QRect screen = parentWidget()->screen()->availableGeometry();
    QPoint place(window.right() + besideGap, window.top());
    if (place.x() + frameGeometry().width() > screen.right())
        place.setX(window.left() - besideGap - frameGeometry().width());
    place.setX(qBound(screen.left(), place.x(),
                      qMax(screen.left(), screen.right() - frameGeometry().width())));
    move(place);
}

void frmHistory::refresh()
{
    m_model->removeRows(0, m_model->rowCount());
    for (const HistoryRow& row : m_actions.historyRows()) {
        QList<QStandardItem*> items{new QStandardItem(row.when), new QStandardItem(row.replacedBy),
                                    new QStandardItem(row.pair)};
        items.first()->setData(row.id, idRole);
        m_model->appendRow(items);
    }
    for (int column = 0; column < 2; ++column)
        lvwHistory->resizeColumnToContents(column);
    cmdRestore->setEnabled(m_model->rowCount() > 0);
    if (m_model->rowCount() > 0)
        lvwHistory->setCurrentIndex(m_model->index(0, 0));
    else
        txtDifferences->setPlainText(tr("The history keeps nothing yet."));
}

int frmHistory::currentId() const
{
    const QModelIndex current = lvwHistory->currentIndex();
    return current.isValid() ? m_model->index(current.row(), 0).data(idRole).toInt() : 0;
}

void frmHistory::lvwHistory_CurrentChanged()
{
    if (lvwHistory->currentIndex().isValid())
        txtDifferences->setPlainText(m_actions.historyDifferences(currentId()));
}

void frmHistory::cmdRestore_Click()
{
    if (!lvwHistory->currentIndex().isValid())
        return;
    m_actions.restoreHistoryEntry(currentId());
    refresh();
}
