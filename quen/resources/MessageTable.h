// The library's message table and the module handle it is found under.
//
// quen.dll carries the table as its STRINGTABLE resource and the system's
// loader hands DllMain the module handle. libquen.so has no resources: the
// table is compiled in and registered with the Linux subset's LoadStringA
// under the shared object's load address. A static library belongs to no
// module of its own: its table is compiled in and found under a fixed handle
// of the library's (the address of an object of its own, so that two hosts
// in one process that each link quen statically keep two tables).
#ifndef QUEN_RESOURCES_MESSAGETABLE_H
#define QUEN_RESOURCES_MESSAGETABLE_H

namespace quen {
namespace resources {

// The module handle of the library: the load address of libquen.so, or the
// fixed handle of a static library. (quen.dll learns its own in DllMain.)
void* libraryModuleHandle();

// Make the compiled-in table the module's string table, and take it back;
// nothing to do where the system reads the table (quen.dll, and a static
// library on Windows, whose texts loadModuleString serves).
void registerMessageTable(void* module);
void unregisterMessageTable(void* module);

// LoadStringA(module, id, buffer, size), which StringTable reads through: a
// static library on Windows answers for its own fixed handle itself, as the
// system knows nothing of that table.
int loadModuleString(void* module, unsigned int id, char* buffer, int size);

}  // namespace resources
}  // namespace quen

#endif
