waitforre ^You see
echo ok
