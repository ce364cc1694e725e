# Copies the sample product files from SRC into DST. The product description is read only and
# always refreshed; files the program writes (Configs/*) are copied only when missing, so a
# rebuild never throws away the settings a user made while trying the program.
file(GLOB_RECURSE files RELATIVE ${SRC} ${SRC}/*)
foreach(f IN LISTS files)
    if(f MATCHES "^Configs/" AND EXISTS ${DST}/${f})
        continue()
    endif()
    configure_file(${SRC}/${f} ${DST}/${f} COPYONLY)
endforeach()
