# The hardening a distribution asks of its packages (what dpkg-buildflags gives Debian's own
# builds): stack protector, fortified libc calls, format checks, control-flow protection, and a
# read-only relocation table resolved at start. Set here, so the tested build is the packaged
# one and a package needs no special build. The sanitizer and fuzz builds bring their own
# instrumentation; MinGW's stack protector needs a library the Windows build does not ship.
option(MOUSECFG_HARDENING "Build with the hardening flags of distribution packages" ON)

if(MOUSECFG_HARDENING AND NOT WIN32 AND NOT MOUSECFG_SANITIZE AND NOT MOUSECFG_FUZZ
   AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security)
    # Fortified calls need the optimiser; glibc warns when asked for them without it. A compiler
    # that sets a level of its own is overruled rather than warned about.
    set(optimised $<NOT:$<CONFIG:Debug>>)
    add_compile_options($<${optimised}:-U_FORTIFY_SOURCE> $<${optimised}:-D_FORTIFY_SOURCE=2>)
    if(CMAKE_SYSTEM_PROCESSOR MATCHES "x86_64|AMD64|i.86")
        add_compile_options(-fcf-protection)
    endif()
    add_link_options(LINKER:-z,relro LINKER:-z,now)
endif()
