#pragma once
// Reads stored layouts into components: creates the nested components by
// class name (owned by the root), parents controls on their container, sets
// every property by name (sub-object paths such as Font.Name, sets, lists,
// byte strings, collections, event handlers published by the root's class,
// references to other components by name), then runs Loaded once for every
// component, in the order they were read.
#include <functional>
#include <string_view>

#include "classlib/Component.h"
#include "core/LayoutText.h"

class TComponent;

// Makes a class known to the reader by its class information.
using TComponentFactory = std::function<TComponent*(TComponent* owner)>;
void RegisterComponentClass(const TClassInfo& info, TComponentFactory factory);
template <class T> void RegisterComponentClass() {
    RegisterComponentClass(T::StaticClass(), [](TComponent* owner) { return TComponent::Create<T>(owner); });
}

// Errors name the layout's root class and the line.
void ReadLayout(TComponent& root, const LayoutObject& tree);
void ReadLayoutText(TComponent& root, std::string_view text);
// Reads the layout compiled into the executable as an RCDATA resource named
// after the root's class (for example TFRMCONTINUOUSDICTATION); false when
// there is none.
bool ReadFormLayout(TComponent& root);
