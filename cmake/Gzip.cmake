# cmake -DIN=file -DOUT=file.gz -P Gzip.cmake: compresses IN as Debian wants it (best
# compression, no name or time stamp inside), through a temporary file so that a failed run
# leaves no half-written OUT that the build would take as current.
execute_process(COMMAND gzip -9 -n -c ${IN} OUTPUT_FILE ${OUT}.tmp RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    file(REMOVE ${OUT}.tmp)
    message(FATAL_ERROR "gzip ${IN}: ${rc}")
endif()
file(RENAME ${OUT}.tmp ${OUT})
