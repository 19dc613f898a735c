#include "framework/classes/Component.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "framework/classes/ClassesRegistration.h"
#include "framework/classes/ComponentScope.h"
#include "framework/classes/PropertyAccess.h"
#include "framework/rtl/Format.h"
#include "framework/rtl/StringUtils.h"
#include "testing/StreamingTestClasses.h"

namespace {

std::vector<String> destroyed;

// Logs its name when freeing starts and "~name" when its destructor runs.
class TLoggedComponent : public TComponent {
    FV_CLASS(TLoggedComponent, TComponent)
public:
    explicit TLoggedComponent(TComponent* owner) : TComponent(owner) {}
    ~TLoggedComponent() override { destroyed.push_back(L"~" + Name()); }

protected:
    void BeforeDestruction() override {
        destroyed.push_back(Name());
        TComponent::BeforeDestruction();
    }
};

// A derived part that the first phase of freeing must still find, and a component of its own.
class TTwoPhase : public TComponent {
    FV_CLASS(TTwoPhase, TComponent)
public:
    explicit TTwoPhase(TComponent* owner) : TComponent(owner) { (new TLoggedComponent(this))->SetName(L"Part"); }
    ~TTwoPhase() override { destroyed.push_back(L"~" + label_); }

protected:
    void BeforeDestruction() override {
        destroyed.push_back(Format(L"%s owns %d%s", {label_, ComponentCount(),
                                                      String(ComponentState().Contains(csDestroying) ? L", destroying" : L"")}));
        TComponent::BeforeDestruction();
        destroyed.push_back(Format(L"then owns %d", {ComponentCount()}));
    }

private:
    String label_ = L"whole";
};

// Raises in its constructor after it has made a component of its own.
class TRaising : public TComponent {
    FV_CLASS(TRaising, TComponent)
public:
    explicit TRaising(TComponent* owner) : TComponent(owner) {
        (new TLoggedComponent(this))->SetName(L"Made");
        throw EInvalidOperation(L"cannot be made");
    }
};

// Holds a reference to a component it does not own and forgets it when told of the removal.
class THolder : public TComponent {
    FV_CLASS(THolder, TComponent)
public:
    explicit THolder(TComponent* owner) : TComponent(owner) {}
    void Hold(TComponent* target) {
        held = target;
        target->FreeNotification(this);
    }
    TComponent* held = nullptr;
    std::vector<std::pair<TComponent*, TOperation>> heard;

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        heard.emplace_back(component, operation);
        if (operation == opRemove && component == held) held = nullptr;
    }
};

TEST(Component, OwnerFreesItsComponentsLastFirst) {
    destroyed.clear();
    {
        TLocal<TComponent> owner(nullptr);
        for (const wchar_t* name : {L"A", L"B", L"C"}) (new TLoggedComponent(&owner))->SetName(name);
        auto* nested = new TLoggedComponent(owner.FindComponent(L"B"));
        nested->SetName(L"B1");
        ASSERT_EQ(owner.ComponentCount(), 3);
        EXPECT_EQ(owner.Components(2)->Name(), L"C");
        EXPECT_EQ(owner.FindComponent(L"b"), owner.Components(1));
        EXPECT_EQ(owner.FindComponent(L"B1"), nullptr);  // owned one level down
    }
    EXPECT_EQ(destroyed, (std::vector<String>{L"C", L"~C", L"B", L"B1", L"~B1", L"~B", L"A", L"~A"}));
}

TEST(Component, EveryFreePathRunsBeforeDestructionOnTheWholeObject) {
    struct TCase {
        const char* path;
        std::function<void()> free;
    } cases[] = {
        {"delete", [] { delete new TTwoPhase(nullptr); }},
        {"delete through the base", [] { delete static_cast<TComponent*>(new TTwoPhase(nullptr)); }},
        {"unique_ptr", [] { std::make_unique<TTwoPhase>(nullptr).reset(); }},
        {"owner", [] {
             TLocal<TComponent> owner(nullptr);
             new TTwoPhase(&owner);
         }},
        {"TLocal", [] { TLocal<TTwoPhase> local(nullptr); }},
    };
    for (const TCase& c : cases) {
        destroyed.clear();
        c.free();
        EXPECT_EQ(destroyed, (std::vector<String>{L"whole owns 1, destroying", L"Part", L"~Part", L"then owns 0",
                                                  L"~whole"}))
            << c.path;
    }
}

TEST(Component, AConstructorThatRaisesFreesWhatItMadeAndLeavesItsOwner) {
    TLocal<TComponent> owner(nullptr);
    destroyed.clear();
    EXPECT_THROW(new TRaising(&owner), EInvalidOperation);
    EXPECT_EQ(destroyed, (std::vector<String>{L"Made", L"~Made"}));
    EXPECT_EQ(owner.ComponentCount(), 0);
}

TEST(ComponentDeathTest, AComponentThatSkipsTheFreePathStopsTheProgramNamingIt) {
    EXPECT_DEATH(
        {
            TComponent plain(nullptr);
            plain.SetName(L"Plain");
        },
        "Component 'Plain' ended without BeforeDestruction");
}

// Its first phase raises before the inherited steps run, as an OnDestroy handler that fails would.
class TFailingTeardown : public TComponent {
    FV_CLASS(TFailingTeardown, TComponent)
public:
    explicit TFailingTeardown(TComponent* owner) : TComponent(owner) { (new TLoggedComponent(this))->SetName(L"Part"); }
    ~TFailingTeardown() override { destroyed.push_back(L"~failing"); }

protected:
    void BeforeDestruction() override { throw EInvalidOperation(L"the handler failed"); }
};

std::vector<String> teardownErrors;

void NoteTeardownError(TObject*) noexcept {
    try {
        throw;
    } catch (const Exception& e) {
        teardownErrors.push_back(e.Message());
    } catch (...) {
        teardownErrors.push_back(L"?");
    }
}

TEST(Component, AnExceptionWhileFreeingIsReportedAndTheLinksStillGo) {
    struct TCase {
        const char* path;
        std::function<void(TComponent& owner, THolder& holder)> free;
    } cases[] = {
        {"delete", [](TComponent& owner, THolder& holder) {
             auto* failing = new TFailingTeardown(&owner);
             holder.Hold(failing);
             delete failing;
         }},
        {"owner", [](TComponent& owner, THolder& holder) {
             auto* middle = new TComponent(&owner);
             holder.Hold(new TFailingTeardown(middle));
             delete middle;
         }},
        {"TLocal", [](TComponent&, THolder& holder) {
             TLocal<TFailingTeardown> failing(nullptr);
             holder.Hold(&failing);
         }},
    };
    const TTeardownExceptionHandler previous = SetTeardownExceptionHandler(&NoteTeardownError);
    for (const TCase& c : cases) {
        destroyed.clear();
        teardownErrors.clear();
        TLocal<TComponent> owner(nullptr);
        TLocal<THolder> holder(nullptr);
        c.free(owner, holder);
        EXPECT_EQ(teardownErrors, std::vector<String>{L"the handler failed"}) << c.path;
        EXPECT_EQ(destroyed, (std::vector<String>{L"Part", L"~Part", L"~failing"})) << c.path;
        EXPECT_EQ(holder.held, nullptr) << c.path;
        EXPECT_EQ(owner.ComponentCount(), 0) << c.path;
    }
    SetTeardownExceptionHandler(previous);
}

TEST(Component, AnOwnerDoesNotFreeATLocalButSaysSo) {
    struct TCase {
        const char* path;
        std::function<void(TComponent* owner)> free;
    } cases[] = {
        {"DestroyComponents", [](TComponent* owner) {
             try {
                 owner->DestroyComponents();
                 ADD_FAILURE() << "no error";
             } catch (const EInvalidOperation& e) {
                 teardownErrors.push_back(e.Message());
             }
             delete owner;
         }},
        {"the owner's end", [](TComponent* owner) { delete owner; }},
    };
    const TTeardownExceptionHandler previous = SetTeardownExceptionHandler(&NoteTeardownError);
    for (const TCase& c : cases) {
        destroyed.clear();
        teardownErrors.clear();
        {
            auto* owner = new TComponent(nullptr);
            owner->SetName(L"Box");
            TLocal<TLoggedComponent> local(owner);
            local.SetName(L"Local");
            (new TLoggedComponent(owner))->SetName(L"Other");
            c.free(owner);
            EXPECT_EQ(local.Owner(), nullptr) << c.path;
            EXPECT_EQ(destroyed, (std::vector<String>{L"Other", L"~Other"})) << c.path;
        }
        EXPECT_EQ(teardownErrors, std::vector<String>{L"'Box' cannot free 'Local': a TLocal is freed only by the end "
                                                      L"of its scope"})
            << c.path;
        EXPECT_EQ(destroyed, (std::vector<String>{L"Other", L"~Other", L"Local", L"~Local"})) << c.path;
    }
    SetTeardownExceptionHandler(previous);
}

TEST(ComponentDeathTest, DeletingATLocalStopsTheProgramNamingIt) {
    EXPECT_DEATH(
        {
            TLocal<TComponent> local(nullptr);
            local.SetName(L"OnTheStack");
            TComponent* volatile onTheStack = &local;  // hidden from the compiler's own check
            delete onTheStack;
        },
        "Component 'OnTheStack' is a TLocal");
}

TEST(Component, DestroyedComponentTellsHoldersAndLeavesItsOwner) {
    TLocal<TComponent> owner(nullptr);
    TLocal<THolder> holder(nullptr);
    auto* target = new TLoggedComponent(&owner);
    auto* sibling = new THolder(&owner);
    holder.Hold(target);
    // Only the address is compared afterwards; the object itself is gone.
    const auto targetAddress = reinterpret_cast<std::uintptr_t>(static_cast<TComponent*>(target));
    delete target;
    EXPECT_EQ(holder.held, nullptr);
    EXPECT_EQ(owner.ComponentCount(), 1);
    // The sibling hears of the removal through the owner without asking.
    ASSERT_FALSE(sibling->heard.empty());
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(sibling->heard.back().first), targetAddress);
    EXPECT_EQ(sibling->heard.back().second, opRemove);
}

TEST(Component, HolderDestroyedFirstIsForgottenByTheTarget) {
    auto target = std::make_unique<TComponent>(nullptr);
    // The first holder lives in storage of the test's own: once it has ended, a new holder that
    // holds nothing takes its place, so a notice the target still sent to the old address would
    // arrive there and be seen.
    alignas(TLocal<THolder>) std::byte storage[sizeof(TLocal<THolder>)];
    auto* first = ::new (storage) TLocal<THolder>(nullptr);
    first->Hold(target.get());
    first->~TLocal<THolder>();
    auto* tripwire = ::new (storage) TLocal<THolder>(nullptr);
    TLocal<THolder> later(nullptr);
    later.Hold(target.get());

    TComponent* const targetAddress = target.get();
    target.reset();
    EXPECT_TRUE(tripwire->heard.empty()) << "the target told the holder that had ended";
    ASSERT_EQ(later.heard.size(), 1u);
    EXPECT_EQ(later.heard.front().first, targetAddress);
    EXPECT_EQ(later.heard.front().second, opRemove);
    EXPECT_EQ(later.held, nullptr);
    tripwire->~TLocal<THolder>();
}

TEST(Component, RemoveFreeNotificationStopsTheNotice) {
    TLocal<THolder> holder(nullptr);
    auto target = std::make_unique<TComponent>(nullptr);
    holder.Hold(target.get());
    target->RemoveFreeNotification(&holder);
    holder.heard.clear();
    target.reset();
    EXPECT_TRUE(holder.heard.empty());
    EXPECT_NE(holder.held, nullptr);
}

TEST(Component, InsertIsNotifiedToOwner) {
    TLocal<THolder> owner(nullptr);
    auto* child = new TComponent(&owner);
    EXPECT_EQ(owner.heard.front(), std::make_pair(child, opInsert));
    EXPECT_EQ(child->Owner(), &owner);
}

TEST(Component, NamesAreIdentifiersUniqueAmongSiblings) {
    TLocal<TComponent> owner(nullptr);
    auto* a = new TComponent(&owner);
    auto* b = new TComponent(&owner);
    a->SetName(L"Edit1");
    struct Case {
        const wchar_t* name;
        const wchar_t* message;
    } cases[] = {
        {L"edit1", L"A component named edit1 already exists"},
        {L"1Edit", L"'1Edit' is not a valid component name"},
        {L"Edit 2", L"'Edit 2' is not a valid component name"},
        {L"Edição", L"'Edição' is not a valid component name"},
    };
    for (const Case& c : cases) {
        try {
            b->SetName(c.name);
            ADD_FAILURE() << "accepted " << StringToUtf8(c.name);
        } catch (const EComponentError& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
    }
    b->SetName(L"_Edit2");
    a->SetName(L"EDIT1");  // its own name in other case
    EXPECT_EQ(a->Name(), L"EDIT1");
    TLocal<TComponent> unowned(nullptr);
    unowned.SetName(L"Edit1");  // only siblings clash
}

TEST(Component, InsertingADuplicateNameFails) {
    TLocal<TComponent> owner(nullptr);
    (new TComponent(&owner))->SetName(L"X");
    TLocal<TComponent> stray(nullptr);
    stray.SetName(L"x");
    EXPECT_THROW(owner.InsertComponent(&stray), EComponentError);
    EXPECT_EQ(stray.Owner(), nullptr);
}

TEST(Component, StateAndTag) {
    TLocal<TComponent> owner(nullptr);
    auto* child = new TComponent(&owner);
    owner.SetDesigning(true);
    EXPECT_TRUE(child->ComponentState().Contains(csDesigning));
    child->SetTag(7);
    EXPECT_EQ(GetPropValue(child, L"Tag"), L"7");
}

TEST(ClassRegistry, ClassNamesTypesAndCreationByName) {
    TLocal<TTestForm> form(nullptr);
    EXPECT_EQ(form.ClassName(), L"TTestForm");
    EXPECT_EQ(form.ClassType(), TTestForm::StaticClass());
    EXPECT_TRUE(form.InheritsFrom(TComponent::StaticClass()));
    EXPECT_TRUE(form.InheritsFrom(TObjectClass()));
    EXPECT_FALSE(form.InheritsFrom(TTestControl::StaticClass()));
    EXPECT_EQ(GetClass(L"ttestcontrol"), TTestControl::StaticClass());
    EXPECT_EQ(GetClass(L"TNothing"), nullptr);
    try {
        FindClass(L"TNothing");
        ADD_FAILURE();
    } catch (const EClassNotFound& e) {
        EXPECT_EQ(e.Message(), L"Class TNothing not found");
    }
    TObject* created = FindClass(L"TTestControl")->Factory(&form);
    EXPECT_EQ(created->ClassName(), L"TTestControl");
    EXPECT_EQ(form.Components(0), created);  // owned: freed with the form
    EXPECT_EQ(TCollection::StaticClass()->Factory, nullptr);
}

namespace {

// Declared but in no registration list: not creatable by name until registered.
class TUnlisted : public TComponent {
    FV_CLASS(TUnlisted, TComponent)
public:
    using TComponent::TComponent;
};

}  // namespace

namespace other {

// Another class under a name that is already registered.
class TTestControl : public TComponent {
    FV_CLASS(TTestControl, TComponent)
public:
    using TComponent::TComponent;
};

}  // namespace other

TEST(ClassRegistry, OnlyRegisteredClassesAreFoundAndANameIsTakenOnce) {
    EXPECT_EQ(GetClass(L"TUnlisted"), nullptr);
    RegisterClasses<TUnlisted>();
    RegisterClasses<TUnlisted>();  // again: nothing changes
    EXPECT_EQ(GetClass(L"TUnlisted"), TUnlisted::StaticClass());

    try {
        RegisterClasses<other::TTestControl>();
        ADD_FAILURE() << "no error";
    } catch (const EFilerError& e) {
        EXPECT_EQ(e.Message(), L"A class named TTestControl is already registered");
    }
    EXPECT_EQ(GetClass(L"TTestControl"), TTestControl::StaticClass()) << "the first one stays";
    EXPECT_NO_THROW(RegisterClassesClasses()) << "a layer's list runs again at each start-up";
}

TEST(Persistent, AssignWithoutSupportRaises) {
    TTestFont font;
    TCollection columns(TTestColumn::StaticClass());
    try {
        columns.Assign(&font);
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), L"Cannot assign a TTestFont to a TCollection");
    }
    EXPECT_THROW(font.Assign(nullptr), EConvertError);
}

TEST(Collection, ItemsJoinAndLeaveAndNameTheirPath) {
    TLocal<TTestControl> control(nullptr);
    control.SetName(L"Grid");
    TCollection* columns = control.Columns();
    columns->Add();
    auto* second = columns->Add();
    EXPECT_EQ(second->Index(), 1);
    EXPECT_EQ(second->GetNamePath(), L"Grid.Columns[1]");
    EXPECT_EQ(second->ClassName(), L"TTestColumn");
    columns->Delete(0);
    EXPECT_EQ(second->Index(), 0);
    delete second;
    EXPECT_EQ(columns->Count(), 0);
}

}  // namespace

namespace {

// Counts its living instances; value shows whether it is the one a scope used before.
struct TRunState {
    static inline int alive = 0;
    int value = 0;
    TRunState() { ++alive; }
    ~TRunState() { --alive; }
    TRunState(const TRunState&) = delete;
    TRunState& operator=(const TRunState&) = delete;
};

}  // namespace

TEST(ComponentScope, EachScopeStartsWithFreshObjectsAndFreesThemAtItsEnd) {
    for (int run = 1; run <= 2; ++run) {
        TComponentScope scope;
        EXPECT_EQ(ScopeObject<TRunState>().value, 0) << "run " << run;
        ScopeObject<TRunState>().value = run;
        EXPECT_EQ(ScopeObject<TRunState>().value, run);
        EXPECT_EQ(TRunState::alive, 1);
    }
    EXPECT_EQ(TRunState::alive, 0);
}
