#include "testsupport/recordingcomponents.h"

#include "data/connection.h"

#include <QObject>
#include <QRegularExpression>

namespace testsupport {

namespace {

using State = RecordingComponents::State;

QString recordText(const data::Recordset& record)
{
    if (!record.isOpen() || record.eof() || record.fieldNames().isEmpty()) {
        return QStringLiteral("no record");
    }
    const QString field = record.fieldNames().constFirst();
    return field + QLatin1Char('=') + record.value(field).toString();
}

QString ownerText(external::EditorOwner* owner)
{
    if (owner == nullptr) {
        return QStringLiteral("null");
    }
    const auto* object = dynamic_cast<QObject*>(owner);
    return object ? object->objectName() : QStringLiteral("owner");
}

// What every recording object shares: its name, the log of its life and calls, and sign-on.
template <typename Interface> class Recorded : public Interface
{
public:
    Recorded(std::shared_ptr<State> state, const QString& kind)
        : m_state(std::move(state))
        , m_name(kind + QLatin1Char('#') + QString::number(++m_state->made[kind]))
    {
        m_state->log << QStringLiteral("new ") + m_name;
    }
    ~Recorded() override { m_state->log << QStringLiteral("delete ") + m_name; }

    bool SignOn(QString& UserName, QString& Password) override
    {
        call(QStringLiteral("SignOn"), {UserName, Password});
        return true;
    }

protected:
    // Logs the call, runs its action, then throws the failure set for it, if any.
    void call(const QString& method, const QStringList& arguments, external::EditorOwner* owner = nullptr)
    {
        m_state->log << m_name + QLatin1Char('.') + method + QLatin1Char('(') + arguments.join(QStringLiteral(", ")) +
                            QLatin1Char(')');
        if (const auto action = m_state->actions.value(method)) {
            action(owner);
        }
        for (qsizetype i = 0; i < m_state->failures.size(); ++i) {
            if (m_state->failures[i].first == method) {
                throw core::Error(m_state->failures.takeAt(i).second);
            }
        }
    }

    // OpenRecord and its kin.
    void callWithRecord(const QString& method, const data::Recordset& record, const QVariant& id, const QString& text1,
                        const QString& text2, external::EditorOwner* owner, int n1, int n2, int n3)
    {
        call(method,
             {recordText(record), id.toString(), u'"' + text1 + u'"', u'"' + text2 + u'"', ownerText(owner),
              QString::number(n1), QString::number(n2), QString::number(n3)},
             owner);
    }

    std::shared_ptr<State> m_state;
    QString m_name;
};

#define ORV_RECORD_METHOD(Method)                                                                                      \
    void Method(data::Recordset& Record, QVariant& ID, QString& Text1, QString& Text2, external::EditorOwner* Owner,   \
                int& Number1, int& Number2, int& Number3) override                                                     \
    {                                                                                                                  \
        callWithRecord(QStringLiteral(#Method), Record, ID, Text1, Text2, Owner, Number1, Number2, Number3);           \
    }

class TimeEntryEditor final : public Recorded<external::TimeEntryEditor>
{
public:
    using Recorded::Recorded;
    ORV_RECORD_METHOD(OpenRecord)
    void NewEntry(int& contacto_id, int& processo_id, int& tarefa_id, int& AdvogadoID,
                  external::EditorOwner* Owner) override
    {
        call(QStringLiteral("NewEntry"),
             {QString::number(contacto_id), QString::number(processo_id), QString::number(tarefa_id),
              QString::number(AdvogadoID), ownerText(Owner)},
             Owner);
    }
};

class WorkAssistant final : public Recorded<external::WorkAssistant>
{
public:
    using Recorded::Recorded;
    int SelectWork() override
    {
        call(QStringLiteral("SelectWork"), {});
        return m_state->selectWork.isEmpty() ? 0 : m_state->selectWork.takeFirst();
    }
    bool NewEntryWizard() override
    {
        call(QStringLiteral("NewEntryWizard"), {});
        return true;
    }
};

class TaskEditor final : public Recorded<external::TaskEditor>
{
public:
    using Recorded::Recorded;
    ORV_RECORD_METHOD(OpenRecord)
};

class CaseEditor final : public Recorded<external::CaseEditor>
{
public:
    using Recorded::Recorded;
    ORV_RECORD_METHOD(OpenRecord)
    ORV_RECORD_METHOD(OpenDocumentArchive)
};

class WorkEditor final : public Recorded<external::WorkEditor>
{
public:
    using Recorded::Recorded;
    ORV_RECORD_METHOD(OpenRecord)
    bool EditDeadlines(data::Recordset& Record, QVariant& ID, QString& Text1, QString& Text2,
                       external::EditorOwner* Owner, int& Number1, int& Number2, int& Number3) override
    {
        callWithRecord(QStringLiteral("EditDeadlines"), Record, ID, Text1, Text2, Owner, Number1, Number2, Number3);
        return !m_state->editDeadlines.isEmpty() && m_state->editDeadlines.takeFirst();
    }
};

#undef ORV_RECORD_METHOD

class Factory final : public external::ComponentFactory
{
public:
    explicit Factory(std::shared_ptr<State> state)
        : m_state(std::move(state))
    {}
#define ORV_CREATE(Kind)                                                                                               \
    std::unique_ptr<external::Kind> create##Kind() override                                                            \
    {                                                                                                                  \
        return make<Kind>(QStringLiteral(#Kind));                                                                      \
    }
    ORV_CREATE(TimeEntryEditor)
    ORV_CREATE(WorkAssistant)
    ORV_CREATE(TaskEditor)
    ORV_CREATE(CaseEditor)
    ORV_CREATE(WorkEditor)
#undef ORV_CREATE

private:
    template <typename Object> std::unique_ptr<Object> make(const QString& kind)
    {
        return m_state->missing.contains(kind) ? nullptr : std::make_unique<Object>(m_state, kind);
    }
    std::shared_ptr<State> m_state;
};

} // namespace

RecordingComponents::RecordingComponents()
    : m_state(std::make_shared<State>())
    , m_previous(external::installComponentFactory(std::make_shared<Factory>(m_state)))
{}

RecordingComponents::~RecordingComponents()
{
    external::installComponentFactory(m_previous);
}

QStringList RecordingComponents::calls(const QString& method) const
{
    const QString name = QRegularExpression::escape(method);
    return m_state->log.filter(QRegularExpression(QStringLiteral("^%1 |\\.%1\\(").arg(name)));
}

} // namespace testsupport
