// Holds the folder's library until its first unit lands.
