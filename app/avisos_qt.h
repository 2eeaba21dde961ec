#pragma once

// The toolkit and its database drivers print their own warnings on the error
// output ("QSqlQuery::prepare: database not open"), in English and beside the
// program's own one-line message. A command-line program's error output
// carries its own messages only: every failure is told once, in Spanish, by
// the program. Only a fatal message, which ends the program, still gets out.
void CallarAvisosDeQt();
