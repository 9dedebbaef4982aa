#pragma once

// The declarative view vocabulary: what a view tree's nodes are (Element.h), what modifiers
// do to them (Modifier.h), the view value (ViewValue.h), views with a body of their own
// (Component.h), wrapped platform views (Representable.h), custom button styles
// (ButtonStyle.h) and the functions that build views (Builders.h).
#include "platform/ui/Builders.h"
#include "platform/ui/ButtonStyle.h"
#include "platform/ui/Component.h"
#include "platform/ui/Element.h"
#include "platform/ui/Modifier.h"
#include "platform/ui/Representable.h"
#include "platform/ui/ViewValue.h"
