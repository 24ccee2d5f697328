#!/bin/sh
# Sends the spooled invoice printout "tim.txt" to the print spooler as raw printer bytes.
# The program runs this script with /bin/sh in the working folder and waits for it; it deletes
# tim.txt only when the script ends with exit code 0, otherwise it reports the failure and keeps it.
# Add "-d QUEUE" to choose a printer other than the default one.
for f in [Tt][Ii][Mm].[Tt][Xx][Tt]; do
    if [ -f "$f" ]; then
        exec lp -o raw "$f"
    fi
done
echo "prn_tim.sh: no tim.txt in $(pwd)" >&2
exit 1
