// A list box over the system's LISTBOX. Items (with their objects) are kept by the control and
// copied into the window whenever either exists or changes; a selection by the user clicks.
#pragma once

#include <memory>

#include "framework/controls/Control.h"
#include "framework/rtl/StringList.h"

class TListBox : public TWinControl {
    FV_CLASS(TListBox, TWinControl)
public:
    explicit TListBox(TComponent* owner);
    ~TListBox() override;
    static void Publish(TPublisher<TListBox>& p);

    TStringList* Items() const { return items_.get(); }
    // -1: nothing selected.
    int ItemIndex() const;
    void SetItemIndex(int value);
    int Count() const { return items_->Count(); }
    void Clear() { items_->Clear(); }

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;

private:
    void ItemsChanged(TObject*);
    void FillWindow();

    std::unique_ptr<TStringList> items_;
    int itemIndex_ = -1;  // kept while there is no window
    bool filling_ = false;
};
