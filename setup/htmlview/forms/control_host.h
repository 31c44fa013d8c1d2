// What form controls need from the window system: a real control per object, parked off-screen
// until painting places it, and its state read back. A Win32 host makes child windows of the
// viewer's paint panel; tests use a fake that records the calls.
#pragma once

#include <string>

namespace htmlview {

enum class ControlKind
{
    Edit,
    Password,
    Button,
    CheckBox,
    Radio
};

struct ControlSize
{
    int width = 0, height = 0;
};

class IControlHost
{
public:
    virtual ~IControlHost() = default;
    // A new control with its caption or text; an id for the calls below.
    virtual int Create(ControlKind kind, const std::u16string& text, bool enabled) = 0;
    virtual void Destroy(int id) = 0;
    virtual void Move(int id, int x, int y, int width, int height) = 0;
    virtual ControlSize Size(int id) const = 0;
    virtual std::u16string Text(int id) const = 0;
    virtual void SetText(int id, const std::u16string& text) = 0;
    virtual bool Checked(int id) const = 0;
    virtual void SetChecked(int id, bool checked) = 0;
    virtual void SetTabStop(int id, bool tabStop) = 0;
    virtual void SetMaxLength(int id, int length) = 0;
    // The control font's average character width and the size of a text in it.
    virtual int AverageCharWidth(int id) const = 0;
    virtual ControlSize TextSize(int id, const std::u16string& text) const = 0;
};

}  // namespace htmlview
