#include "external/com/officecomponents_win.h"

#include "core/com/apartment_win.h"
#include "core/com/bstr_win.h"
#include "core/com/dispatcher_win.h"
#include "core/com/variant_win.h"
#include "core/errorreporting.h"
#include "core/errorvalue.h"
#include "data/office/componentsettings.h"
#include "external/com/adorecord_win.h"
#include "external/com/officeinterfaces_win.h"
#include "external/com/ownerdispatch_win.h"

namespace external::com {

using core::com::ComRef;

namespace {

// A failed call of a component's method: the component's own description when it set one, else the result.
void check(HRESULT result, const char* method)
{
    if (SUCCEEDED(result)) {
        return;
    }
    QString description;
    ComRef<IErrorInfo> info;
    if (GetErrorInfo(0, info.out()) == S_OK && info) {
        BSTR text = nullptr;
        if (SUCCEEDED(info->GetDescription(&text))) {
            description = core::com::Bstr::toQString(text);
        }
        SysFreeString(text);
    }
    if (description.isEmpty()) {
        description = QStringLiteral("Automation error calling %1: %2")
                          .arg(QLatin1String(method), core::com::describeResult(result));
    }
    throw core::Error(int(result), description);
}

// A text handed over by reference: what the component leaves in it comes back.
class TextRef
{
public:
    explicit TextRef(QString& text)
        : m_text(text)
        , m_string(core::com::Bstr(text).detach())
    {}
    TextRef(const TextRef&) = delete;
    TextRef& operator=(const TextRef&) = delete;
    ~TextRef()
    {
        m_text = core::com::Bstr::toQString(m_string);
        SysFreeString(m_string);
    }
    BSTR* get() { return &m_string; }

private:
    QString& m_text;
    BSTR m_string;
};

// A whole number handed over by reference.
class NumberRef
{
public:
    explicit NumberRef(int& number)
        : m_number(number)
        , m_value(number)
    {}
    NumberRef(const NumberRef&) = delete;
    NumberRef& operator=(const NumberRef&) = delete;
    ~NumberRef() { m_number = int(m_value); }
    LONG* get() { return &m_value; }

private:
    int& m_number;
    LONG m_value;
};

// The arguments of OpenRecord and its kin, by reference; the identifier comes back as the component left it.
class RecordArguments
{
public:
    RecordArguments(data::Recordset& Record, QVariant& ID, QString& Text1, QString& Text2, EditorOwner* Owner,
                    int& Number1, int& Number2, int& Number3)
        : m_record(adoRecordOf(Record))
        , m_owner(ownerDispatch(Owner))
        , m_idValue(ID)
        , m_id(ID)
        , m_text1(Text1)
        , m_text2(Text2)
        , m_number1(Number1)
        , m_number2(Number2)
        , m_number3(Number3)
    {}
    ~RecordArguments() { m_idValue = m_id.toQVariant(); }

    template <typename Method, typename Interface, typename... Result>
    void call(Interface* object, Method method, const char* name, Result*... result)
    {
        IDispatch* record = m_record.get();
        IDispatch* owner = m_owner.get();
        check((object->*method)(&record, m_id.get(), m_text1.get(), m_text2.get(), &owner, m_number1.get(),
                                m_number2.get(), m_number3.get(), result...),
              name);
    }

private:
    ComRef<IDispatch> m_record;
    ComRef<IDispatch> m_owner;
    QVariant& m_idValue;
    core::com::Variant m_id;
    TextRef m_text1;
    TextRef m_text2;
    NumberRef m_number1;
    NumberRef m_number2;
    NumberRef m_number3;
};

// What every office component has: the object behind its custom interface, and SignOn in the first place.
template <typename Kind, typename Interface> class OfficeComponent : public Kind
{
public:
    explicit OfficeComponent(ComRef<Interface> object)
        : m_object(std::move(object))
    {}
    bool SignOn(QString& UserName, QString& Password) override
    {
        VARIANT_BOOL result = VARIANT_FALSE;
        {
            TextRef name(UserName);
            TextRef password(Password);
            check(m_object->SignOn(name.get(), password.get(), &result), "SignOn");
        }
        return result != VARIANT_FALSE;
    }

protected:
    // OpenRecord and its kin on the component's method.
    template <typename Method, typename... Result>
    void openRecord(Method method, const char* name, data::Recordset& Record, QVariant& ID, QString& Text1,
                    QString& Text2, EditorOwner* Owner, int& Number1, int& Number2, int& Number3, Result*... result)
    {
        RecordArguments(Record, ID, Text1, Text2, Owner, Number1, Number2, Number3)
            .call(m_object.get(), method, name, result...);
    }

    ComRef<Interface> m_object;
};

class OfficeTimeEntryEditor final : public OfficeComponent<TimeEntryEditor, IOfficeTimeEntryEditor>
{
public:
    using OfficeComponent::OfficeComponent;
    void OpenRecord(data::Recordset& Record, QVariant& ID, QString& Text1, QString& Text2, EditorOwner* Owner,
                    int& Number1, int& Number2, int& Number3) override
    {
        openRecord(&IOfficeTimeEntryEditor::OpenRecord, "OpenRecord", Record, ID, Text1, Text2, Owner, Number1, Number2,
                   Number3);
    }
    void NewEntry(int& contacto_id, int& processo_id, int& tarefa_id, int& AdvogadoID, EditorOwner* Owner) override
    {
        NumberRef client(contacto_id);
        NumberRef caseId(processo_id);
        NumberRef task(tarefa_id);
        NumberRef lawyer(AdvogadoID);
        ComRef<IDispatch> owner = ownerDispatch(Owner);
        IDispatch* ownerObject = owner.get();
        check(m_object->NewEntry(client.get(), caseId.get(), task.get(), lawyer.get(), &ownerObject), "NewEntry");
    }
};

class OfficeWorkAssistant final : public OfficeComponent<WorkAssistant, IOfficeWorkAssistant>
{
public:
    using OfficeComponent::OfficeComponent;
    int SelectWork() override
    {
        LONG work = 0;
        check(m_object->SelectWork(&work), "SelectWork");
        return int(work);
    }
    bool NewEntryWizard() override
    {
        VARIANT_BOOL result = VARIANT_FALSE;
        check(m_object->NewEntryWizard(&result), "NewEntryWizard");
        return result != VARIANT_FALSE;
    }
};

class OfficeTaskEditor final : public OfficeComponent<TaskEditor, IOfficeTaskEditor>
{
public:
    using OfficeComponent::OfficeComponent;
    void OpenRecord(data::Recordset& Record, QVariant& ID, QString& Text1, QString& Text2, EditorOwner* Owner,
                    int& Number1, int& Number2, int& Number3) override
    {
        openRecord(&IOfficeTaskEditor::OpenRecord, "OpenRecord", Record, ID, Text1, Text2, Owner, Number1, Number2,
                   Number3);
    }
};

class OfficeCaseEditor final : public OfficeComponent<CaseEditor, IOfficeCaseEditor>
{
public:
    using OfficeComponent::OfficeComponent;
    void OpenRecord(data::Recordset& Record, QVariant& ID, QString& Text1, QString& Text2, EditorOwner* Owner,
                    int& Number1, int& Number2, int& Number3) override
    {
        openRecord(&IOfficeCaseEditor::OpenRecord, "OpenRecord", Record, ID, Text1, Text2, Owner, Number1, Number2,
                   Number3);
    }
    void OpenDocumentArchive(data::Recordset& Record, QVariant& ID, QString& Text1, QString& Text2, EditorOwner* Owner,
                             int& Number1, int& Number2, int& Number3) override
    {
        openRecord(&IOfficeCaseEditor::OpenDocumentArchive, "OpenDocumentArchive", Record, ID, Text1, Text2, Owner,
                   Number1, Number2, Number3);
    }
};

class OfficeWorkEditor final : public OfficeComponent<WorkEditor, IOfficeWorkEditor>
{
public:
    using OfficeComponent::OfficeComponent;
    void OpenRecord(data::Recordset& Record, QVariant& ID, QString& Text1, QString& Text2, EditorOwner* Owner,
                    int& Number1, int& Number2, int& Number3) override
    {
        openRecord(&IOfficeWorkEditor::OpenRecord, "OpenRecord", Record, ID, Text1, Text2, Owner, Number1, Number2,
                   Number3);
    }
    bool EditDeadlines(data::Recordset& Record, QVariant& ID, QString& Text1, QString& Text2, EditorOwner* Owner,
                       int& Number1, int& Number2, int& Number3) override
    {
        VARIANT_BOOL settled = VARIANT_FALSE;
        openRecord(&IOfficeWorkEditor::EditDeadlines, "EditDeadlines", Record, ID, Text1, Text2, Owner, Number1,
                   Number2, Number3, &settled);
        return settled != VARIANT_FALSE;
    }
};

template <typename Wrapper, typename Interface> std::unique_ptr<Wrapper> wrap(void* object)
{
    return std::make_unique<Wrapper>(ComRef<Interface>::adopt(static_cast<Interface*>(object)));
}

} // namespace

OfficeComponentFactory::OfficeComponentFactory(std::shared_ptr<ComponentFactory> fallback)
    : m_fallback(std::move(fallback))
{}

void OfficeComponentFactory::note(const QString& kind, const QString& used, const QString& unused)
{
    if (m_noted.contains(kind)) {
        return;
    }
    m_noted.insert(kind);
    try {
        core::LogFileErrorReporting log;
        if (unused.isEmpty()) {
            log.noteComponentUsed(kind, used);
        } else {
            log.noteComponentUnused(kind, unused);
        }
    } catch (const std::exception&) {
        // The choice stands without its log line.
    }
}

void* OfficeComponentFactory::create(const QString& kind)
{
    std::optional<data::ComponentIdentifiers> ids;
    try {
        ids = data::ComponentIdentifiers::read(kind);
    } catch (const core::Error& error) {
        note(kind, {}, error.description() + QStringLiteral("; the counter's own editor is used"));
        return nullptr;
    }
    if (!ids) {
        note(kind, {}, QStringLiteral("not configured; the counter's own editor is used"));
        return nullptr;
    }
    core::com::enterApartment();
    CLSID classId{};
    IID interfaceId{};
    HRESULT result = CLSIDFromString(reinterpret_cast<LPCOLESTR>(ids->classId.utf16()), &classId);
    if (SUCCEEDED(result)) {
        result = IIDFromString(reinterpret_cast<LPCOLESTR>(ids->interfaceId.utf16()), &interfaceId);
    }
    void* object = nullptr;
    if (SUCCEEDED(result)) {
        result = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, interfaceId, &object);
    }
    if (FAILED(result) || !object) {
        note(kind, {},
             QStringLiteral("%1 could not be created (%2); the counter's own editor is used")
                 .arg(ids->text(), core::com::describeResult(result)));
        return nullptr;
    }
    note(kind, ids->text(), {});
    return object;
}

std::unique_ptr<TimeEntryEditor> OfficeComponentFactory::createTimeEntryEditor()
{
    if (void* object = create(QStringLiteral("TimeEntryEditor"))) {
        return wrap<OfficeTimeEntryEditor, IOfficeTimeEntryEditor>(object);
    }
    return m_fallback->createTimeEntryEditor();
}

std::unique_ptr<WorkAssistant> OfficeComponentFactory::createWorkAssistant()
{
    if (void* object = create(QStringLiteral("WorkAssistant"))) {
        return wrap<OfficeWorkAssistant, IOfficeWorkAssistant>(object);
    }
    return m_fallback->createWorkAssistant();
}

std::unique_ptr<TaskEditor> OfficeComponentFactory::createTaskEditor()
{
    if (void* object = create(QStringLiteral("TaskEditor"))) {
        return wrap<OfficeTaskEditor, IOfficeTaskEditor>(object);
    }
    return m_fallback->createTaskEditor();
}

std::unique_ptr<CaseEditor> OfficeComponentFactory::createCaseEditor()
{
    if (void* object = create(QStringLiteral("CaseEditor"))) {
        return wrap<OfficeCaseEditor, IOfficeCaseEditor>(object);
    }
    return m_fallback->createCaseEditor();
}

std::unique_ptr<WorkEditor> OfficeComponentFactory::createWorkEditor()
{
    if (void* object = create(QStringLiteral("WorkEditor"))) {
        return wrap<OfficeWorkEditor, IOfficeWorkEditor>(object);
    }
    return m_fallback->createWorkEditor();
}

void installOfficeComponents()
{
    std::shared_ptr<ComponentFactory> own = installComponentFactory(nullptr);
    installComponentFactory(std::make_shared<OfficeComponentFactory>(std::move(own)));
}

} // namespace external::com
