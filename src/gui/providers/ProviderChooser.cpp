#include "gui/providers/ProviderChooser.h"

#include "core/providers/ProviderRegistry.h"
#include "gui/providers/ProviderMenu.h"

#include <QLabel>
#include <QMouseEvent>

ProviderChooser::ProviderChooser(ProviderRegistry &registry, dialup::DialUpService &service, QWidget *dialButton,
    QLabel *selectedEntry, std::function<void()> updateProviderDisplay)
    : m_registry(registry)
    , m_service(service)
    , m_dialButton(dialButton)
    , m_selectedEntry(selectedEntry)
    , m_updateProviderDisplay(std::move(updateProviderDisplay))
    , m_menu(std::make_unique<ProviderMenu>())
{
    m_menu->setObjectName(QStringLiteral("PopupMenu_DialUps"));
    // Until the list is first built the menu holds a placeholder that chooses nothing.
    m_menu->addItem(QStringLiteral("MenuProvLine"), 0);
    connect(m_menu.get(), &ProviderMenu::itemChosen, this, &ProviderChooser::SelectedConnectionClick);
    connect(m_menu.get(), &QMenu::aboutToHide, this, &ProviderChooser::menuClosed);
    if (m_selectedEntry) {
        m_selectedEntry->setTextFormat(Qt::PlainText); // an entry name is never markup
        m_selectedEntry->installEventFilter(this);
        attachContextMenu(m_selectedEntry);
    }
}

ProviderChooser::~ProviderChooser() = default;

void ProviderChooser::attachContextMenu(QWidget *widget)
{
    widget->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(widget, &QWidget::customContextMenuRequested, this,
        [this, widget](const QPoint &pos) { m_menu->open(widget->mapToGlobal(pos)); });
}

bool ProviderChooser::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_selectedEntry && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
        ButtonChooseProviderClick();
    return QObject::eventFilter(watched, event);
}

void ProviderChooser::ButtonChooseProviderClick()
{
    if (m_menu->isVisible() || !m_selectedEntry)
        return;
    if (m_dialButton) {
        m_dialWasEnabled = m_dialButton->isEnabled();
        m_dialButton->setEnabled(false);
        m_dialDisabledByMenu = true;
    }
    const auto entries = m_service.enumEntries();
    if (!entries || entries->empty()) {
        menuClosed(); // no list to choose from: the dial button is given back
        return;
    }
    m_menu->clearItems();
    int tag = 0;
    for (const std::string &entry : *entries)
        m_menu->addItem(QString::fromStdString(entry), ++tag);
    m_menu->open(m_selectedEntry->mapToGlobal(QPoint(-2, -2)), m_selectedEntry->width());
}

void ProviderChooser::menuClosed()
{
    // Closing the list without a choice leaves the dial button as it was; a
    // choice, which arrives after this, enables it.
    if (m_dialDisabledByMenu && m_dialButton)
        m_dialButton->setEnabled(m_dialWasEnabled);
    m_dialDisabledByMenu = false;
}

void ProviderChooser::SelectedConnectionClick(const QString &caption, int tag)
{
    if (tag <= 0)
        return;
    if (m_selectedEntry)
        m_selectedEntry->setText(caption);
    if (m_dialButton)
        m_dialButton->setEnabled(true);
    m_registry.ProviderDBFind(m_selectedEntry ? m_selectedEntry->text() : caption);
    if (m_updateProviderDisplay)
        m_updateProviderDisplay();
}
