#pragma once
// Registers the class library's own component classes with the layout reader
// (once; later calls do nothing).
void RegisterStandardClasses();
