// What the portable build supplies itself so that the binary needs no more of
// the system than glibc 2.34, libGL and libX11.
//
// - _dl_find_object (glibc 2.35): GCC's static unwinder looks up the unwind
//   tables of the code an exception passes through with it when the compiler
//   was built on a newer glibc. The same answer comes from dl_iterate_phdr,
//   which every glibc has: the loaded object whose segments hold the address,
//   and its PT_GNU_EH_FRAME table.
// - arc4random (glibc 2.36), which GCC's static libstdc++ may call for
//   std::random_device: the kernel's random bytes through getrandom (2.25).
// - snd_lib_error_set_handler: the sound engine silences ALSA's reports while
//   SDL looks for a device. SDL opens libasound.so.2 itself at run time, so
//   the call goes to that same library, opened by name; without ALSA there is
//   nothing to silence.
// All three stay inside the binary (hidden): the libraries the system loads
// keep finding glibc's and ALSA's own.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <link.h>
#include <errno.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <sys/random.h>

#include <alsa/asoundlib.h>

struct lookup {
    uintptr_t pc;
    struct dl_find_object* result;
};

static int findObject(struct dl_phdr_info* info, size_t size, void* data) {
    (void)size;
    struct lookup* lookup = data;
    uintptr_t low = UINTPTR_MAX, high = 0;
    void* ehFrame = NULL;
    int holds = 0;
    for (ElfW(Half) i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)* segment = &info->dlpi_phdr[i];
        const uintptr_t start = info->dlpi_addr + segment->p_vaddr;
        if (segment->p_type == PT_LOAD) {
            const uintptr_t end = start + segment->p_memsz;
            if (lookup->pc >= start && lookup->pc < end) holds = 1;
            if (start < low) low = start;
            if (end > high) high = end;
        } else if (segment->p_type == PT_GNU_EH_FRAME) {
            ehFrame = (void*)start;
        }
    }
    if (!holds) return 0;
    memset(lookup->result, 0, sizeof *lookup->result);
    lookup->result->dlfo_map_start = (void*)low;
    lookup->result->dlfo_map_end = (void*)high;
    lookup->result->dlfo_eh_frame = ehFrame;
    return 1;
}

#define INTERNAL __attribute__((visibility("hidden")))

INTERNAL int _dl_find_object(void* pc, struct dl_find_object* result) {
    struct lookup lookup = {(uintptr_t)pc, result};
    return dl_iterate_phdr(findObject, &lookup) ? 0 : -1;
}

INTERNAL uint32_t arc4random(void) {
    uint32_t value;
    while (getrandom(&value, sizeof value, 0) != (ssize_t)sizeof value) {
        // Only a signal can cut a 4-byte read short; anything else is a
        // kernel without getrandom (before 3.17), which glibc 2.34 rejects.
        if (errno != EINTR) abort();
    }
    return value;
}

INTERNAL int snd_lib_error_set_handler(snd_lib_error_handler_t handler) {
    typedef int (*SetHandler)(snd_lib_error_handler_t);
    static SetHandler set = NULL;
    if (set == NULL) {
        // Kept open: the handler must stay the one SDL's library calls.
        void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
        if (alsa == NULL) return 0;
        set = (SetHandler)dlsym(alsa, "snd_lib_error_set_handler");
        if (set == NULL) return 0;
    }
    return set(handler);
}
