#include "external/recordeditors.h"

#include "core/errorvalue.h"

#include <utility>

namespace external {

namespace {

class NoComponents final : public ComponentFactory
{
public:
    std::unique_ptr<TimeEntryEditor> createTimeEntryEditor() override { return nullptr; }
    std::unique_ptr<WorkAssistant> createWorkAssistant() override { return nullptr; }
    std::unique_ptr<TaskEditor> createTaskEditor() override { return nullptr; }
    std::unique_ptr<CaseEditor> createCaseEditor() override { return nullptr; }
    std::unique_ptr<WorkEditor> createWorkEditor() override { return nullptr; }
};

std::shared_ptr<ComponentFactory>& installed()
{
    static std::shared_ptr<ComponentFactory> factory = std::make_shared<NoComponents>();
    return factory;
}

std::function<void(const EditorOwner*)>& ownerGoneObserver()
{
    static std::function<void(const EditorOwner*)> observer;
    return observer;
}

} // namespace

EditorOwner::~EditorOwner()
{
    if (ownerGoneObserver()) {
        ownerGoneObserver()(this);
    }
}

void onOwnerGone(std::function<void(const EditorOwner*)> observer)
{
    ownerGoneObserver() = std::move(observer);
}

ComponentFactory& componentFactory()
{
    return *installed();
}

std::shared_ptr<ComponentFactory> installComponentFactory(std::shared_ptr<ComponentFactory> factory)
{
    if (!factory) {
        factory = std::make_shared<NoComponents>();
    }
    return std::exchange(installed(), std::move(factory));
}

void throwNoComponent(const QString& kind)
{
    throw core::Error(core::errc::CannotCreateObject,
                      QStringLiteral("ActiveX component can't create object: %1").arg(kind));
}

} // namespace external
