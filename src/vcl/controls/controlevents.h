#pragma once
// The events a control publishes to form files and designers, in the groups the
// framework's controls share: a unit calls these for its own classes, for example
// `static const bool published = vcl::PublishMouseEvents<TqvGradientProgress>();`.
#include "vcl/controls/controls.h"
#include "vcl/streaming/formfile.h"

namespace vcl {

// OnClick, OnDblClick, OnMouseDown, OnMouseUp, OnMouseMove and OnResize.
template <class C>
bool PublishMouseEvents()
{
    RegisterEvent<C>(&TControl::OnClick, "OnClick");
    RegisterEvent<C>(&TControl::OnDblClick, "OnDblClick");
    RegisterEvent<C>(&TControl::OnMouseDown, "OnMouseDown");
    RegisterEvent<C>(&TControl::OnMouseUp, "OnMouseUp");
    RegisterEvent<C>(&TControl::OnMouseMove, "OnMouseMove");
    return RegisterEvent<C>(&TControl::OnResize, "OnResize");
}

// The mouse events and OnEnter, OnExit, OnKeyDown, OnKeyUp and OnKeyPress.
template <class C>
bool PublishWindowEvents()
{
    PublishMouseEvents<C>();
    RegisterEvent<C>(&TWinControl::OnEnter, "OnEnter");
    RegisterEvent<C>(&TWinControl::OnExit, "OnExit");
    RegisterEvent<C>(&TWinControl::OnKeyDown, "OnKeyDown");
    RegisterEvent<C>(&TWinControl::OnKeyUp, "OnKeyUp");
    return RegisterEvent<C>(&TWinControl::OnKeyPress, "OnKeyPress");
}

} // namespace vcl
