#include "EditorKeys.h"

#include "EditorRegistry.h"

#include <Qsci/qscicommandset.h>

#include <optional>

namespace Korveth {

namespace {

// The built-in commands the program can take the keys away from.
std::optional<QsciCommand::Command> builtInCommand(int number)
{
    switch (number) {
    case EditorRegistry::Cut:
        return QsciCommand::SelectionCut;
    case EditorRegistry::Copy:
        return QsciCommand::SelectionCopy;
    case EditorRegistry::Paste:
        return QsciCommand::Paste;
    case EditorRegistry::Undo:
        return QsciCommand::Undo;
    case EditorRegistry::Redo:
        return QsciCommand::Redo;
    case EditorRegistry::SelectAll:
        return QsciCommand::SelectAll;
    case EditorRegistry::Duplicate:
        return QsciCommand::SelectionDuplicate;
    default:
        return std::nullopt;
    }
}

bool reserved(const EditorRegistry &registry, int key)
{
    return key != 0 && registry.isReserved(QKeyCombination::fromCombined(key));
}

} // namespace

void takeProgramKeys(QsciCommandSet &commands, const EditorRegistry &registry)
{
    for (int number : registry.removedBuiltInBindings()) {
        if (const auto command = builtInCommand(number)) {
            if (QsciCommand *bound = commands.find(*command)) {
                bound->setKey(0);
                bound->setAlternateKey(0);
            }
        }
    }
    for (QsciCommand *command : commands.commands()) {
        if (reserved(registry, command->key()))
            command->setKey(0);
        if (reserved(registry, command->alternateKey()))
            command->setAlternateKey(0);
    }
}

} // namespace Korveth
