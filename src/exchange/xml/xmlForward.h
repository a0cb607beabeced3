// Names of the XML library's classes for headers that only pass them by pointer or reference.
#pragma once

namespace UtilityClasses::XML {
class AElement;
class AUserProgressNotifier;
}  // namespace UtilityClasses::XML
