// The message table of libquen.so and the module handle it is found under.
#ifndef QUEN_RESOURCES_POSIXMESSAGETABLE_H
#define QUEN_RESOURCES_POSIXMESSAGETABLE_H

namespace quen {
namespace resources {

// The handle of the shared object that holds the library: its load address,
// as a Windows module handle is.
void* libraryModuleHandle();

void registerMessageTable(void* module);
void unregisterMessageTable(void* module);

}  // namespace resources
}  // namespace quen

#endif
