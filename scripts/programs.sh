# Sourced by the commands that take a program's name: the programs as
# programs/CMakeLists.txt lists them (its add_demo lines), read before
# anything is configured or built, in the order given there.
demo_programs() {
    sed -n 's/^add_demo(\([A-Za-z0-9_]*\)[ )].*/\1/p' programs/CMakeLists.txt
}
