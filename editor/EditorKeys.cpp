#include "EditorKeys.h"

#include "EditorRegistry.h"

#include <Qsci/qscicommandset.h>

#include <optional>

namespace Korveth {

namespace {

// The built-in commands the program can take the keys away from, by the numbers it uses.
std::optional<QsciCommand::Command> builtInCommand(int number)
{
    switch (number) {
    case 197:
        return QsciCommand::SelectionCut;
    case 140:
        return QsciCommand::SelectionCopy;
    case 198:
        return QsciCommand::Paste;
    case 161:
        return QsciCommand::Undo;
    case 129:
        return QsciCommand::Redo;
    case 139:
        return QsciCommand::SelectAll;
    case 160:
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
