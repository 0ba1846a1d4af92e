"""The clipboard between Kestrel under Wine and a program outside it (xclip)
on the test display: a picture Kestrel copies is read as image/bmp and
equals it; a BMP put there is pasted with the same pixels.

Wine 8 offers a copied picture as image/bmp (not image/png), and takes
image/bmp as a device-independent bitmap; a PNG put on the X clipboard
reaches Windows programs only under a registered format name, which
Paste does not read.

Usage: clipboard_bridge_crosscheck.py WORK_DIR "WINE_RUN SHELL_TESTS_EXE" """
import io
import os
import shlex
import subprocess
import sys
import time

from PIL import Image

WIDTH, HEIGHT = 16, 10


def copied(x, y):
    return (x * 15, y * 25, (x + y) * 7)


def pasted(x, y):
    return (255 - x * 9, y * 21, 0x40)


def run_test(command, work, name):
    env = dict(os.environ, KESTREL_BRIDGE_DIR="Z:" + work.replace("/", "\\"))
    return subprocess.Popen(shlex.split(command) + ["--gtest_filter=ClipboardBridge." + name], env=env,
                            stdin=subprocess.DEVNULL)


def wait_for(path, seconds):
    end = time.time() + seconds
    while time.time() < end and not os.path.exists(path):
        time.sleep(0.1)
    return os.path.exists(path)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    work, command = os.path.abspath(sys.argv[1]), sys.argv[2]
    os.makedirs(work, exist_ok=True)
    for old in os.listdir(work):
        os.remove(os.path.join(work, old))
    problems = []

    test = run_test(command, work, "CopiesAPictureAndHoldsItWhileTheScriptReads")
    if not wait_for(os.path.join(work, "copied"), 60):
        problems.append("Kestrel did not copy")
    else:
        bmp = subprocess.run(["xclip", "-selection", "clipboard", "-t", "image/bmp", "-o"], stdout=subprocess.PIPE,
                             timeout=20).stdout
        open(os.path.join(work, "read"), "w").close()
        try:
            im = Image.open(io.BytesIO(bmp)).convert("RGB")
            want = [copied(x, y) for y in range(HEIGHT) for x in range(WIDTH)]
            if im.size != (WIDTH, HEIGHT) or list(im.getdata()) != want:
                problems.append("image/bmp read by xclip differs from the copied picture (%s)" % (im.size,))
        except OSError as e:
            problems.append("xclip gave no picture: %s" % e)
    if test.wait(timeout=120) != 0:
        problems.append("the copying test failed")

    source = os.path.join(work, "in.bmp")
    im = Image.new("RGB", (WIDTH, HEIGHT))
    im.putdata([pasted(x, y) for y in range(HEIGHT) for x in range(WIDTH)])
    im.save(source)
    owner = subprocess.Popen(["xclip", "-quiet", "-selection", "clipboard", "-t", "image/bmp", "-i", source],
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(0.5)
    try:
        if run_test(command, work, "PastesThePictureTheScriptPut").wait(timeout=120) != 0:
            problems.append("the pasting test failed")
    finally:
        owner.kill()
        owner.wait()

    for p in problems:
        print("PROBLEM:", p)
    print("%d problems" % len(problems))
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
