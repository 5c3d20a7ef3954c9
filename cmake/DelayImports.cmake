# Import libraries that bind a DLL on the first call into it instead of at process start.
# The unattended start never opens a window or a shell document in most lists, and under Wine
# loading shell32 (with the comctl32 and comdlg32 it drags along) is a large part of what
# starting the launcher costs.
#
# lodestay_delay_import(VAR DLL FUNCTION@ARGBYTES...) makes the library at configure time
# with binutils' dlltool and stores its path in VAR. The argument sizes give the 32-bit
# stdcall names; the 64-bit names have none.
find_program(LODESTAY_DLLTOOL NAMES ${LODESTAY_MINGW_TRIPLE}-dlltool dlltool REQUIRED)

function(lodestay_delay_import var dll)
    get_filename_component(base ${dll} NAME_WE)
    set(dir ${CMAKE_BINARY_DIR}/delay-imports)
    set(def ${dir}/${base}.def)
    set(lib ${dir}/lib${base}_delay.a)
    set(text "LIBRARY ${dll}\nEXPORTS\n")
    foreach(function ${ARGN})
        if(CMAKE_SIZEOF_VOID_P EQUAL 8)
            string(REGEX REPLACE "@[0-9]+$" "" function ${function})
        endif()
        string(APPEND text "    ${function}\n")
    endforeach()
    file(MAKE_DIRECTORY ${dir})
    file(WRITE ${def} ${text})
    set(options)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        set(options --kill-at --machine i386)
    else()
        set(options --machine i386:x86-64)
    endif()
    execute_process(COMMAND ${LODESTAY_DLLTOOL} ${options} --input-def ${def} --dllname ${dll}
                            --output-delaylib ${lib}
                    RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "dlltool could not make the delayed import library for ${dll}")
    endif()
    set(${var} ${lib} PARENT_SCOPE)
endfunction()
