/* fbclient.dll for Wine, built in both widths: a builtin library that hands each client call of
 * the Windows program to the system's libfbclient.so.2 of the same width, so the Windows executable
 * works on real database files. Only the database name needs translating: the program gives a
 * Windows path, the client needs the Unix path, and, where ZAV_BRIDGE_SERVER names a server
 * ("localhost/PORT"), that server before it. Test-only.
 *
 * Everything else passes through unchanged, since within one width both worlds lay it out alike:
 * ISC_STATUS and pointers are 32-bit on i386 and 64-bit on x86_64, handles and ISC_LONG 32-bit in
 * both, and XSQLDA/XSQLVAR hold no 8-byte member whose alignment the two ABIs would place apart.
 * What differs is the calling convention: the exports are WINAPI (stdcall on i386, the Windows
 * x64 convention on x86_64), the Unix library's functions are cdecl/System V, and the compiler
 * converts at each call through the pointers below. */
#include <dlfcn.h>
#include <stdarg.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windef.h>
/* Needs the types of windef.h. */
#include <winbase.h>
#include <winnls.h>

typedef intptr_t Status;     /* ISC_STATUS */
typedef uint32_t Handle;     /* FB_API_HANDLE: a pointer on i386, an int on x86_64, 32 bits both */
typedef int Long;            /* ISC_LONG */
typedef void Descriptor;     /* XSQLDA, passed through */

/* The functions of libfbclient.so.2, in the Unix calling convention. */
static struct {
    Status (*attach_database)(Status*, short, const char*, Handle*, short, const char*);
    Status (*detach_database)(Status*, Handle*);
    Status (*database_info)(Status*, Handle*, short, const char*, short, char*);
    Status (*start_multiple)(Status*, Handle*, short, void*);
    Status (*commit_transaction)(Status*, Handle*);
    Status (*commit_retaining)(Status*, Handle*);
    Status (*rollback_transaction)(Status*, Handle*);
    Status (*rollback_retaining)(Status*, Handle*);
    Status (*dsql_alloc_statement2)(Status*, Handle*, Handle*);
    Status (*dsql_prepare)(Status*, Handle*, Handle*, unsigned short, const char*, unsigned short,
                           Descriptor*);
    Status (*dsql_describe)(Status*, Handle*, unsigned short, Descriptor*);
    Status (*dsql_sql_info)(Status*, Handle*, short, const char*, short, char*);
    Status (*dsql_execute)(Status*, Handle*, Handle*, unsigned short, const Descriptor*);
    Status (*dsql_execute2)(Status*, Handle*, Handle*, unsigned short, const Descriptor*,
                            const Descriptor*);
    Status (*dsql_fetch)(Status*, Handle*, unsigned short, const Descriptor*);
    Status (*dsql_free_statement)(Status*, Handle*, unsigned short);
    Long (*interpret)(char*, unsigned int, const Status**);
    Long (*sqlcode)(const Status*);
    long long (*portable_integer)(const unsigned char*, short);
    Status (*cancel_operation)(Status*, Handle*, unsigned short);
} real;

static BOOL resolve(void* library, const char* name, void** target) {
    *target = dlsym(library, name);
    return *target != NULL;
}

#define RESOLVE(library, name, field) resolve(library, name, (void**)&real.field)

/* Without the Unix library the load fails, and the program reports a missing client library. */
static BOOL load_real_client(void) {
    void* library = dlopen("libfbclient.so.2", RTLD_NOW | RTLD_LOCAL);
    if (library == NULL) {
        return FALSE;
    }
    if (RESOLVE(library, "isc_attach_database", attach_database) &&
        RESOLVE(library, "isc_detach_database", detach_database) &&
        RESOLVE(library, "isc_database_info", database_info) &&
        RESOLVE(library, "isc_start_multiple", start_multiple) &&
        RESOLVE(library, "isc_commit_transaction", commit_transaction) &&
        RESOLVE(library, "isc_commit_retaining", commit_retaining) &&
        RESOLVE(library, "isc_rollback_transaction", rollback_transaction) &&
        RESOLVE(library, "isc_rollback_retaining", rollback_retaining) &&
        RESOLVE(library, "isc_dsql_alloc_statement2", dsql_alloc_statement2) &&
        RESOLVE(library, "isc_dsql_prepare", dsql_prepare) &&
        RESOLVE(library, "isc_dsql_describe", dsql_describe) &&
        RESOLVE(library, "isc_dsql_sql_info", dsql_sql_info) &&
        RESOLVE(library, "isc_dsql_execute", dsql_execute) &&
        RESOLVE(library, "isc_dsql_execute2", dsql_execute2) &&
        RESOLVE(library, "isc_dsql_fetch", dsql_fetch) &&
        RESOLVE(library, "isc_dsql_free_statement", dsql_free_statement) &&
        RESOLVE(library, "fb_interpret", interpret) && RESOLVE(library, "isc_sqlcode", sqlcode) &&
        RESOLVE(library, "isc_portable_integer", portable_integer) &&
        RESOLVE(library, "fb_cancel_operation", cancel_operation)) {
        return TRUE;
    }
    dlclose(library);
    return FALSE;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
        return load_real_client();
    }
    return TRUE;
}

/* The Unix path without the prefix's drive links: Wine's name for C: is a link called "c:", and
 * the engine reads a colon as the end of a server's name. A file that does not exist yet keeps
 * its name in its resolved folder. Allocated with malloc. */
static char* resolve_links(const char* path) {
    char* resolved = realpath(path, NULL);
    const char* slash = strrchr(path, '/');
    if (resolved != NULL || slash == NULL || slash == path) {
        return resolved != NULL ? resolved : strdup(path);
    }
    char* folder = strndup(path, (size_t)(slash - path));
    char* resolvedFolder = folder != NULL ? realpath(folder, NULL) : NULL;
    free(folder);
    if (resolvedFolder == NULL) {
        return strdup(path);
    }
    char* joined = malloc(strlen(resolvedFolder) + strlen(slash) + 1);
    if (joined != NULL) {
        strcpy(joined, resolvedFolder);
        strcat(joined, slash);
    }
    free(resolvedFolder);
    return joined;
}

/* Whether the program's parameter block carries isc_dpb_utf8_filename (77, no value): its name for
 * the file is then UTF-8 rather than the ANSI code page. After the version byte, each item is its
 * code, a length byte and that many bytes. */
static BOOL names_file_in_utf8(short length, const unsigned char* dpb) {
    for (int at = 1; dpb != NULL && at + 1 < length; at += 2 + dpb[at + 1]) {
        if (dpb[at] == 77) {
            return TRUE;
        }
    }
    return FALSE;
}

/* A local Windows path ("C:\...", or one without any colon) as the name the Unix client opens,
 * allocated with malloc: the Unix path, after the server's name when there is one. NULL for
 * anything else ("host:path" names a server's file and passes as it is). The Unix path is in the
 * file system's own encoding, the one the client expects with or without the UTF-8 flag. */
static char* client_name_of(short length, const char* path, UINT codePage) {
    const int size = length > 0 ? length : (int)strlen(path);
    const char* colon = memchr(path, ':', (size_t)size);
    if (colon != NULL && colon != path + 1) {
        return NULL;
    }
    const int wideSize = MultiByteToWideChar(codePage, 0, path, size, NULL, 0);
    WCHAR* wide = HeapAlloc(GetProcessHeap(), 0, ((size_t)wideSize + 1) * sizeof(WCHAR));
    if (wide == NULL) {
        return NULL;
    }
    MultiByteToWideChar(codePage, 0, path, size, wide, wideSize);
    wide[wideSize] = 0;
    char* winePath = wine_get_unix_file_name(wide);
    HeapFree(GetProcessHeap(), 0, wide);
    if (winePath == NULL) {
        return NULL;
    }
    char* unixPath = resolve_links(winePath);
    HeapFree(GetProcessHeap(), 0, winePath);
    const char* server = getenv("ZAV_BRIDGE_SERVER");
    if (unixPath == NULL || server == NULL || *server == 0) {
        return unixPath;
    }
    const size_t nameSize = strlen(server) + 1 + strlen(unixPath) + 1;
    char* name = malloc(nameSize);
    if (name != NULL) {
        snprintf(name, nameSize, "%s:%s", server, unixPath);
    }
    free(unixPath);
    return name;
}

Status WINAPI bridge_attach_database(Status* status, short length, const char* path,
                                     Handle* attachment, short dpbLength, const char* dpb) {
    const UINT codePage =
        names_file_in_utf8(dpbLength, (const unsigned char*)dpb) ? CP_UTF8 : CP_ACP;
    char* name = client_name_of(length, path, codePage);
    if (name == NULL) {
        return real.attach_database(status, length, path, attachment, dpbLength, dpb);
    }
    const Status result = real.attach_database(status, 0, name, attachment, dpbLength, dpb);
    free(name);
    return result;
}

Status WINAPI bridge_detach_database(Status* status, Handle* attachment) {
    return real.detach_database(status, attachment);
}

Status WINAPI bridge_database_info(Status* status, Handle* attachment, short itemsLength,
                                   const char* items, short bufferLength, char* buffer) {
    return real.database_info(status, attachment, itemsLength, items, bufferLength, buffer);
}

Status WINAPI bridge_start_multiple(Status* status, Handle* transaction, short count,
                                    void* vector) {
    return real.start_multiple(status, transaction, count, vector);
}

Status WINAPI bridge_commit_transaction(Status* status, Handle* transaction) {
    return real.commit_transaction(status, transaction);
}

Status WINAPI bridge_commit_retaining(Status* status, Handle* transaction) {
    return real.commit_retaining(status, transaction);
}

Status WINAPI bridge_rollback_transaction(Status* status, Handle* transaction) {
    return real.rollback_transaction(status, transaction);
}

Status WINAPI bridge_rollback_retaining(Status* status, Handle* transaction) {
    return real.rollback_retaining(status, transaction);
}

Status WINAPI bridge_dsql_alloc_statement2(Status* status, Handle* attachment, Handle* statement) {
    return real.dsql_alloc_statement2(status, attachment, statement);
}

Status WINAPI bridge_dsql_prepare(Status* status, Handle* transaction, Handle* statement,
                                  unsigned short length, const char* sql, unsigned short dialect,
                                  Descriptor* out) {
    return real.dsql_prepare(status, transaction, statement, length, sql, dialect, out);
}

Status WINAPI bridge_dsql_describe(Status* status, Handle* statement, unsigned short version,
                                   Descriptor* out) {
    return real.dsql_describe(status, statement, version, out);
}

Status WINAPI bridge_dsql_sql_info(Status* status, Handle* statement, short itemsLength,
                                   const char* items, short bufferLength, char* buffer) {
    return real.dsql_sql_info(status, statement, itemsLength, items, bufferLength, buffer);
}

Status WINAPI bridge_dsql_execute(Status* status, Handle* transaction, Handle* statement,
                                  unsigned short version, const Descriptor* in) {
    return real.dsql_execute(status, transaction, statement, version, in);
}

Status WINAPI bridge_dsql_execute2(Status* status, Handle* transaction, Handle* statement,
                                   unsigned short version, const Descriptor* in,
                                   const Descriptor* out) {
    return real.dsql_execute2(status, transaction, statement, version, in, out);
}

Status WINAPI bridge_dsql_fetch(Status* status, Handle* statement, unsigned short version,
                                const Descriptor* out) {
    return real.dsql_fetch(status, statement, version, out);
}

Status WINAPI bridge_dsql_free_statement(Status* status, Handle* statement, unsigned short option) {
    return real.dsql_free_statement(status, statement, option);
}

Long WINAPI bridge_interpret(char* buffer, unsigned int size, const Status** vector) {
    return real.interpret(buffer, size, vector);
}

Long WINAPI bridge_sqlcode(const Status* status) {
    return real.sqlcode(status);
}

long long WINAPI bridge_portable_integer(const unsigned char* bytes, short length) {
    return real.portable_integer(bytes, length);
}

Status WINAPI bridge_cancel_operation(Status* status, Handle* attachment, unsigned short option) {
    return real.cancel_operation(status, attachment, option);
}
