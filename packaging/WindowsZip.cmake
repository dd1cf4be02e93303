# Makes the portable archive for Windows (cmake -P): a folder named as the archive holding both
# programs, the README as Windows text (CRLF line endings, which Notepad shows) and the licences
# of the Qt that is linked into the programs, zipped.
#   -DARCHIVE=<folder>/<name>.zip -DPROGRAMS=<exe;exe> -DREADME=<README.md> -DLICENCES=<file;...>
cmake_path(GET ARCHIVE PARENT_PATH out)
cmake_path(GET ARCHIVE STEM LAST_ONLY name)
set(stage ${out}/${name})
file(REMOVE_RECURSE ${stage} ${ARCHIVE})
file(MAKE_DIRECTORY ${stage})
file(COPY ${PROGRAMS} DESTINATION ${stage})
file(READ ${README} text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${stage}/README.txt "${text}")
foreach(licence IN LISTS LICENCES)
    cmake_path(GET licence FILENAME file)
    if(file STREQUAL "copyright")
        set(file "Qt-LICENSE.txt") # Debian's record of the Qt source's copyright holders
    else()
        set(file "${file}.txt")
    endif()
    file(READ ${licence} text)
    string(REPLACE "\n" "\r\n" text "${text}")
    file(WRITE ${stage}/${file} "${text}")
endforeach()
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ARCHIVE} --format=zip ${name}
    WORKING_DIRECTORY ${out} COMMAND_ERROR_IS_FATAL ANY)
