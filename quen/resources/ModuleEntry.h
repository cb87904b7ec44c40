// The library's module entry, run by the system when the library is loaded
// into a process or unloaded, after the library's static objects are built
// and before they are destroyed.
#ifndef QUEN_RESOURCES_MODULEENTRY_H
#define QUEN_RESOURCES_MODULEENTRY_H

namespace quen {
namespace resources {

// Stores the module handle for the message table; runs on every call,
// whatever the reason.
bool moduleEntry(void* module);

}  // namespace resources
}  // namespace quen

#endif
