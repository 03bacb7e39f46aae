// The one source of the tests' shared precompiled header (tests/CMakeLists.txt):
// the header is built with the flags every gtest file without Qt shares.
