// The host contract as the controls see it: one include for a control author. A control
// derives from Control (surface and extender), describes its interface with TypeBuilder,
// raises events through its EventSource, reads and writes its design-time properties in a
// PropertyBag, calls other controls late-bound with errors ignored (TryInvoke), and uses the
// run-time services (message boxes, DoEvents, Timer, Rnd, Screen, App, the settings store).
#pragma once

#include "platform/host/control.h"
#include "platform/host/class_registry.h"
#include "platform/host/control_registry.h"
#include "platform/host/event_source.h"
#include "platform/host/font.h"
#include "platform/host/form.h"
#include "platform/host/host_error.h"
#include "platform/host/picture.h"
#include "platform/host/property_bag.h"
#include "platform/host/runtime.h"
#include "platform/host/settings_store.h"
#include "platform/host/type_builder.h"
#include "platform/host/variant.h"
