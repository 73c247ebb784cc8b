#pragma once

#include "external/recordeditors.h"

#include <memory>

namespace counter {

// The record editors the counter window keeps between commands, one field per use. The next command
// of the same use replaces the object, releasing the one before; the window releases the last ones
// when it goes. Objects of any other use live only while their command runs.
// A command holds its object too while it calls it: an editor's window lets the tray menu run the same
// command again, and the object replaced then goes only once its call has returned.
struct EditorFields {
    std::shared_ptr<external::TaskEditor> task;          // "Abrir Tarefa"
    std::shared_ptr<external::WorkEditor> work;          // "Abrir" → "Trabalho"
    std::shared_ptr<external::CaseEditor> caseFile;      // "Abrir" → "Dossier" and "Arquivo Documental"
    std::shared_ptr<external::TimeEntryEditor> newEntry; // "Registar Lançamento/Despesa"
    std::shared_ptr<external::WorkAssistant> newWork;    // "Atribuir novo Trabalho"
};

// Signs component on with UserName and the scrambled UserPassword; its answer is not examined.
void signOn(external::Component& component);

// A fresh object from the factory, signed on. Throws core::Error 429 naming kind when the factory has
// none, and whatever SignOn throws.
template <typename Component> std::unique_ptr<Component> signedOn(std::unique_ptr<Component> fresh, const char* kind)
{
    if (!fresh) {
        external::throwNoComponent(QLatin1String(kind));
    }
    signOn(*fresh);
    return fresh;
}

// Puts a fresh object from the factory into field, releasing the one before, signs it on and returns
// it for the command to hold while it calls it. Throws as signedOn; the field keeps the one before only
// when the factory has none.
template <typename Component>
std::shared_ptr<Component> renew(std::shared_ptr<Component>& field, std::unique_ptr<Component> fresh, const char* kind)
{
    if (!fresh) {
        external::throwNoComponent(QLatin1String(kind));
    }
    field = std::move(fresh);
    std::shared_ptr<Component> held = field;
    signOn(*held);
    return held;
}

// Calls one of the record methods (OpenRecord, OpenDocumentArchive, EditDeadlines) of editor as the
// components expect it: the open record, the identifier, two empty texts, the owner, three zeros.
template <typename Editor, typename Method>
auto handRecord(Editor& editor, Method method, data::Recordset& record, QVariant id, external::EditorOwner* owner)
{
    QString text1;
    QString text2;
    int number1 = 0;
    int number2 = 0;
    int number3 = 0;
    return (editor.*method)(record, id, text1, text2, owner, number1, number2, number3);
}

} // namespace counter
