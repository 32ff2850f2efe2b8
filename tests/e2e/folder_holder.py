"""Holds a chart folder as someone else would, for the folder-wait test.

  folder_holder.py hold DIR            the folder's lock, exclusively, as anyone
                                       who can open the folder may take it
  folder_holder.py commit DIR NEW SECS another copy of Vantrel putting the chart
                                       in NEW in place slowly: the update lock,
                                       its commit marker and the folder's lock
                                       for SECS seconds, then the renames

Prints "held" once it holds what it holds; a hold lasts until it is killed
(at most ten minutes), a commit ends by itself.
"""
import fcntl
import os
import shutil
import sys
import time

command, folder = sys.argv[1], sys.argv[2]
lock = os.open(folder, os.O_RDONLY | os.O_DIRECTORY)
if command == "commit":
    new, seconds = sys.argv[3], float(sys.argv[4])
    update_lock = os.open(os.path.join(folder, ".vantrel-update.lock"), os.O_RDWR | os.O_CREAT, 0o644)
    fcntl.flock(update_lock, fcntl.LOCK_EX)
    fcntl.flock(lock, fcntl.LOCK_EX)
    for name in ("data", "policy", "version"):
        shutil.copyfile(os.path.join(new, name), os.path.join(folder, ".vantrel-update-%s.tmp" % name))
    with open(os.path.join(folder, ".vantrel-update-commit"), "w") as marker:
        marker.write("end\n")
    print("held", flush=True)
    time.sleep(seconds)
    for name in ("data", "policy", "version"):
        os.rename(os.path.join(folder, ".vantrel-update-%s.tmp" % name), os.path.join(folder, name))
    os.unlink(os.path.join(folder, ".vantrel-update-commit"))
else:
    fcntl.flock(lock, fcntl.LOCK_EX)
    print("held", flush=True)
    time.sleep(600)
