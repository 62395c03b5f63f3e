#include "LiveCheckCommands.h"

#include "LinkedUndo.h"

#include "Announcer.h"
#include "MenuKeys.h"
#include "ScriptEditor.h"

#include "CommandRegistry.h"
#include "Dialogs.h"
#include "DocumentArea.h"
#include "DocumentManager.h"
#include "DocumentWindow.h"
#include "EditorServices.h"
#include "LabelReferences.h"
#include "LabelsPage.h"
#include "LibraryReferences.h"
#include "LiveCheckSettings.h"
#include "LiveDiagnostics.h"
#include "MainMenus.h"
#include "ProgramServices.h"
#include "SidePane.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QStatusBar>
#include <QTabWidget>

namespace Korveth {

namespace {

const QString renameTitle = QStringLiteral("Rename Label");

} // namespace

LiveCheckCommands::LiveCheckCommands(DocumentManager &documents,
                                     DocumentArea &area,
                                     const ProgramServices &services,
                                     MainMenus &menus,
                                     SidePane &sidePane,
                                     QStatusBar &statusBar)
    : QObject(&statusBar)
    , m_parts{documents, area, services.editors.liveCheck, menus, sidePane, services.dialogs}
    , m_panel(new QLabel(&statusBar))
    , m_statusBar(statusBar)
    , m_renameUndo(new LinkedUndo(this))
{
    // Told after the undo is over: no message box opens inside the editor's own undo.
    connect(m_renameUndo,
            &LinkedUndo::undoneTogether,
            this,
            &LiveCheckCommands::renameUndone,
            Qt::QueuedConnection);
    const Parts &parts = m_parts;
    m_panel->setObjectName(QStringLiteral("mistakesPanel"));
    m_panel->setToolTip(QStringLiteral("Mistakes in the active script (Search, Next Mistake)"));
    statusBar.addPermanentWidget(m_panel);
    m_parts.menus.action(MenuKey::MistakesAsYouType)->setChecked(parts.settings.enabled());
    connect(&area, &DocumentArea::activated, this, &LiveCheckCommands::follow);
    connect(&documents, &DocumentManager::lastDocumentClosed, this, [this] { follow(nullptr); });
    connect(&parts.settings, &LiveCheckSettings::changed, this, [this] {
        m_parts.menus.action(MenuKey::MistakesAsYouType)->setChecked(m_parts.settings.enabled());
        refreshed(m_followed ? m_followed->live().mistakeCount() : 0);
    });
    connect(parts.sidePane.labelsPage(), &LabelsPage::shown, this, &LiveCheckCommands::showLabels);
    connect(parts.sidePane.labelsPage(),
            &LabelsPage::placeChosen,
            this,
            [this](const QString &path, int line, qsizetype column, qsizetype length) {
                DocumentWindow *document
                    = path.isEmpty()
                          ? m_followed.data()
                          : m_parts.documents.OpenDocument(path, QFileInfo(path).fileName());
                if (!document)
                    return;
                if (line < document->live().model().lineCount())
                    document->live().select(line, column, length);
                document->editor()->setFocus();
            });
    refreshed(0);
}

void LiveCheckCommands::registerIn(CommandRegistry &commands)
{
    commands.add(MenuKey::NextMistake, [this] {
        DocumentWindow *document = m_parts.documents.activeDocument();
        if (!document || !document->live().checking())
            return;
        // Said in the status bar too, where a screen reader finds it.
        ScriptEditor *editor = document->editor();
        const int lineBefore = editor->selectionRange(false).endLine;
        const auto verdict = document->live().goToNextMistake();
        const QString said = verdict ? *verdict : QStringLiteral("No mistakes");
        m_statusBar.showMessage(said, 10000);
        // Arriving on another line, the line and its verdict are said as for any move.
        if (!verdict || editor->selectionRange(false).endLine == lineBefore)
            Announcer::announce(editor, said);
    });
    commands.add(MenuKey::GoToLabel, [this] { goToLabel(); });
    commands.add(MenuKey::FindReferences, [this] { findReferences(); });
    commands.add(MenuKey::RenameLabel, [this] { renameLabel(); });
    commands.add(MenuKey::MistakesAsYouType, [this] {
        m_parts.settings.setEnabled(m_parts.menus.action(MenuKey::MistakesAsYouType)->isChecked());
    });
}

void LiveCheckCommands::follow(DocumentWindow *document)
{
    for (const QMetaObject::Connection &connection : std::as_const(m_connections))
        disconnect(connection);
    m_connections.clear();
    m_followed = document;
    m_parts.sidePane.labelsPage()->clearReferences();
    if (document) {
        LiveDiagnostics *live = &document->live();
        m_connections
            << connect(live, &LiveDiagnostics::mistakesChanged, this, &LiveCheckCommands::refreshed)
            << connect(live, &LiveDiagnostics::labelClicked, this, &LiveCheckCommands::goToLabel);
    }
    refreshed(!document                     ? 0
              : document->live().tooLarge() ? LiveDiagnostics::notChecked
                                            : document->live().mistakeCount());
    m_saidCount.reset(); // another script's count, or its first, is not news
}

void LiveCheckCommands::refreshed(int count)
{
    if (!m_followed) {
        m_panel->clear();
        m_parts.sidePane.labelsPage()->showLabels({});
        return;
    }
    showLabels();
    if (!m_followed->live().checking()) {
        m_panel->clear();
        return;
    }
    if (count == LiveDiagnostics::notChecked)
        m_panel->setText(QStringLiteral("Too large to check as you type"));
    else
        m_panel->setText(count == 1 ? QStringLiteral("1 mistake")
                                    : QStringLiteral("%1 mistakes").arg(count));
    // A count that changed as the player typed is said, with the verdict of the line typed in.
    ScriptEditor *editor = m_followed->editor();
    if (m_saidCount && *m_saidCount != count && editor->window()->focusWidget() == editor) {
        const QString verdicts = m_followed->live().verdictsAtCaret();
        Announcer::announce(
            editor,
            verdicts.isEmpty()
                ? m_panel->text()
                : QStringLiteral("%1. This line: %2").arg(m_panel->text(), verdicts));
    }
    m_saidCount = count;
}

// To the label's definition: in this script, or in the script an include brings it from.
void LiveCheckCommands::goToLabel()
{
    DocumentWindow *document = m_parts.documents.activeDocument();
    if (!document || document->live().goToLabelAtCaret())
        return;
    const QString name = document->live().labelAtCaret();
    if (name.isEmpty())
        return;
    const auto included = document->live().model().includedDefinitionOf(name);
    if (!included)
        return;
    DocumentWindow *opened
        = m_parts.documents.OpenDocument(included->path, QFileInfo(included->path).fileName());
    if (!opened)
        return;
    if (included->line < opened->live().model().lineCount())
        opened->live().select(included->line, included->column, included->name.size());
}

void LiveCheckCommands::findReferences()
{
    DocumentWindow *document = m_parts.documents.activeDocument();
    if (!document)
        return;
    const QString name = document->live().labelAtCaret();
    if (name.isEmpty())
        return;
    const LabelSearch search = labelPlaces(*document, name);
    QList<LabelPlace> found = search.places;
    found.removeIf([](const LabelPlace &place) { return place.definition; });
    if (!search.cutShortAt.isEmpty())
        m_parts.dialogs.inform(QStringLiteral("Find References"),
                               libraryCutShortText(search.cutShortAt),
                               Dialogs::Icon::Warning);
    m_parts.sidePane.labelsPage()->showReferences(
        name, found, QFileInfo(document->document().path()).absoluteFilePath());
    showLabelsPage();
    // The list is where one goes on from here: Enter on a reference shows it.
    QListWidget *references = m_parts.sidePane.labelsPage()->referenceList();
    if (references->count() > 0) {
        references->setCurrentRow(0);
        references->setFocus(Qt::OtherFocusReason);
    }
}

void LiveCheckCommands::showLabels()
{
    LabelsPage *page = m_parts.sidePane.labelsPage();
    if (!m_followed || !page->isVisible())
        return;
    // Never a check here: it may read included scripts, which is the checking thread's work.
    page->showLabels(m_followed->live().checkedLabels().value_or(LabelList()));
}

void LiveCheckCommands::showLabelsPage()
{
    m_parts.menus.action(MenuKey::QuickNav)->setChecked(true);
    m_parts.sidePane.show();
    m_parts.sidePane.pages()->setCurrentWidget(m_parts.sidePane.labelsPage());
}

// Where the label stands, definitions included: across the library when one of its scripts
// defines it (that one and every script including it, open or not), else in this script alone.
// The open scripts are brought up to date first: the library reads them as they stand.
LiveCheckCommands::LabelSearch LiveCheckCommands::labelPlaces(DocumentWindow &document,
                                                              const QString &name,
                                                              const QString &newName)
{
    QStringList open;
    for (DocumentWindow *other : m_parts.documents.openDocuments()) {
        other->live().model();
        if (!other->document().path().isEmpty())
            open.append(QFileInfo(other->document().path()).absoluteFilePath());
    }
    LiveDiagnostics &live = document.live();
    const QString path = document.document().path();
    if (!path.isEmpty() && live.checking()) {
        const QString root = live.includeSearch().root;
        LibraryReferences library(live.library(), root, open);
        const QString defining = library.definingScript(QFileInfo(path).absoluteFilePath(), name);
        if (!defining.isEmpty()) {
            LabelSearch search;
            search.taken = !newName.isEmpty() && library.nameTaken(defining, name, newName);
            search.places = library.placesOf(defining, name);
            if (!library.complete())
                search.cutShortAt = root;
            return search;
        }
    }
    ScriptModel &model = live.model();
    return {model.labelPlaces(name), !newName.isEmpty() && model.nameTaken(name, newName), {}};
}

// The label and every reference to it, in every script that sees it: each script's edits one step
// to undo. Scripts not open yet are opened with the change made, for the user to look at and save.
void LiveCheckCommands::renameLabel()
{
    DocumentWindow *document = m_parts.documents.activeDocument();
    if (!document)
        return;
    LiveDiagnostics &live = document->live();
    const QString name = live.labelAtCaret();
    if (name.isEmpty()) {
        m_parts.dialogs.inform(renameTitle,
                               QStringLiteral("Put the caret on a label or on a goto, gosub, "
                                              "match or matchre that names one."));
        return;
    }
    const auto newName
        = m_parts.dialogs.text(renameTitle, QStringLiteral("New name for %1:").arg(name), name);
    if (!newName || *newName == name)
        return;
    if (!isValidLabelName(*newName)) {
        m_parts.dialogs.inform(renameTitle, labelNameRule(), Dialogs::Icon::Warning);
        return;
    }
    const LabelSearch search = labelPlaces(*document, name, *newName);
    const QList<LabelPlace> &places = search.places;
    if (!search.cutShortAt.isEmpty()) {
        // A rename that misses a script leaves it calling a label that is gone.
        m_parts.dialogs.inform(renameTitle,
                               libraryCutShortText(search.cutShortAt)
                                   + QStringLiteral(" Nothing was renamed."),
                               Dialogs::Icon::Warning);
        return;
    }
    if (search.taken) {
        m_parts.dialogs.inform(renameTitle,
                               QStringLiteral("%1 is already a label: renaming %2 to it would make "
                                              "the two one. Choose another name.")
                                   .arg(*newName, name),
                               Dialogs::Icon::Warning);
        return;
    }
    QMap<QString, QList<Diagnostic>> byScript;
    for (const LabelPlace &place : places)
        byScript[place.path].append({place.line, place.column, place.length, {}});
    const QString here = QFileInfo(document->document().path()).absoluteFilePath();
    const qsizetype toOpen
        = std::count_if(byScript.keyBegin(), byScript.keyEnd(), [&](const QString &path) {
              return !path.isEmpty() && path != here && !m_parts.documents.documentOfFile(path);
          });
    if (m_parts.documents.count() + toOpen > DocumentTable::capacity) {
        m_parts.dialogs.inform(
            renameTitle,
            QStringLiteral("The rename changes %1 scripts that are not open, and "
                           "only %2 more can be. Close some, then rename again.")
                .arg(toOpen)
                .arg(DocumentTable::capacity - m_parts.documents.count()),
            Dialogs::Icon::Warning);
        return;
    }
    QList<QsciScintilla *> changed;
    for (auto it = byScript.cbegin(); it != byScript.cend(); ++it) {
        DocumentWindow *target
            = it.key().isEmpty() || it.key() == here
                  ? document
                  : m_parts.documents.OpenDocument(it.key(), QFileInfo(it.key()).fileName());
        if (target) {
            target->live().replace(it.value(), *newName);
            changed.append(target->editor());
        }
    }
    m_renameUndo->link(changed);
    m_parts.area.activate(document);
}

// A rename undone in one script is undone in the others too; one edited since keeps the new
// name, and the player is told which, as it now calls a label the others no longer have.
void LiveCheckCommands::renameUndone(const QList<QsciScintilla *> &undone,
                                     const QList<QsciScintilla *> &kept)
{
    const auto names = [this](const QList<QsciScintilla *> &editors) {
        QStringList found;
        for (DocumentWindow *document : m_parts.documents.openDocuments()) {
            if (editors.contains(document->editor()))
                found.append(document->document().shortName());
        }
        return found;
    };
    m_statusBar.showMessage(QStringLiteral("Rename undone in %1 more scripts.").arg(undone.size()),
                            5000);
    if (kept.isEmpty())
        return;
    m_parts.dialogs.inform(renameTitle,
                           QStringLiteral("The rename is undone here and in %1 more scripts. "
                                          "These were edited since and keep the new name: %2.")
                               .arg(undone.size())
                               .arg(names(kept).join(QStringLiteral(", "))),
                           Dialogs::Icon::Warning);
}

} // namespace Korveth
